#include "ui/wind_tab.h"

#include "ui/automation_displays.h"
#include "ui/automation_editor.h"
#include "ui/automation_tables.h"
#include "ui/main_window.h"
#include "ui/verlauf_window.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>

namespace vandorelle {

using Page = WindRegenTab;

namespace {

// A caption and its display, at `column` (the readings stand in two pairs of columns).
ReadOnlyBox *reading(QGridLayout *grid, int row, int column, const QString &caption, const char *name,
                     const QString &text, QWidget *page)
{
    grid->addWidget(new QLabel(caption, page), row, column);
    auto *box = new ReadOnlyBox(QString::fromLatin1(name), text, page);
    box->setFixedWidth(90);
    grid->addWidget(box, row, column + 1);
    return box;
}

} // namespace

WindRegenTab::WindRegenTab(TQuorvix *window)
    : TabPage(window, "Wind_Regen_Maske")
{
    auto *grid = pageGrid(this);
    ew = new AutomationEditor(window, windTable(), this);
    er = new AutomationEditor(window, rainTable(), this);
    relf = new AutomationEditor(window, humidityTable(), this);
    const int row = layOutEditors(grid, 0, {ew, er, relf});

    auto *readings = new QGridLayout;
    readings->setVerticalSpacing(2);
    AktWind = reading(readings, 0, 0, QStringLiteral("Aktuelle Windgeschwindigkeit"), "AktWind",
                      QStringLiteral("32 km/h"), this);
    MaxWind = reading(readings, 1, 0, QStringLiteral("Maximale Windgeschwindigkeit"), "MaxWind",
                      QStringLiteral("74 km/h"), this);
    MaxWind->setToolTip(QStringLiteral("Wird durch Anklicken zurückgesetzt"));
    MaxWind->setCursor(Qt::PointingHandCursor);
    WindProgressBar = new QProgressBar(this);
    WindProgressBar->setObjectName(QStringLiteral("WindProgressBar"));
    WindProgressBar->setRange(0, 100);
    WindProgressBar->setTextVisible(false);
    WindProgressBar->hide();
    readings->addWidget(WindProgressBar, 0, 2);
    readings->addWidget(verlaufButton(window, this, "Verlauf_Wind", Quantity::Wind), 1, 2, Qt::AlignLeft);
    RegenStatus = reading(readings, 0, 4, QStringLiteral("Status:"), "RegenStatus",
                          QStringLiteral("Kein Regen"), this);
    RelFeuchte = reading(readings, 1, 4, QStringLiteral("Relative Luftfeuchtigkeit"), "RelFeuchte",
                         QStringLiteral("32 %"), this);
    readings->setColumnMinimumWidth(3, 2 * kPageSpacing);
    readings->setColumnStretch(6, 1);
    grid->addLayout(readings, row, 0, 1, 2);

    wireCombos<Page>(this, {
        {"EW_Raum", &Page::EW_RaumClick},
        {"EW_Ein_Aus", &Page::EW_Ein_AusClick, &Page::EW_RaumClick},
        {"EW_kmh", &Page::EW_kmhClick, &Page::EW_RaumClick},
        {"EW_Richtung", &Page::EW_RichtungClick, &Page::ER_RaumClick},
        {"ER_Raum", &Page::ER_RaumClick},
        {"ER_Ein_Aus", &Page::ER_Ein_AusClick, &Page::ER_RaumClick},
        {"ER_Richtung", &Page::ER_RichtungClick, &Page::ER_RaumClick},
        {"RelF_Raum", &Page::RelF_RaumClick},
        {"RelF_Ein_Aus", &Page::RelF_Ein_AusClick, &Page::RelF_RaumClick},
        {"RelF_gr_kl", &Page::RelF_gr_klClick, &Page::RelF_RaumClick},
        {"RelF_Schwelle_1", &Page::RelF_Schwelle_1Click, &Page::RelF_RaumClick},
        {"RelF_Schwelle_2", &Page::RelF_Schwelle_2Click, &Page::RelF_RaumClick},
        {"RelF_Stellzeit", &Page::RelF_StellzeitClick, &Page::RelF_RaumClick},
        {"RelF_von", &Page::RelF_vonClick, &Page::RelF_RaumClick},
        {"RelF_bis", &Page::RelF_bisClick, &Page::RelF_RaumClick},
    });
    wireLists<Page>(this, {
        {ew->list, &Page::EW_ListeClick, &Page::EW_ListeDblClick},
        {er->list, &Page::ER_ListeClick, &Page::ER_ListeDblClick},
        {relf->list, &Page::RelF_ListeClick, &Page::RelF_ListeDblClick},
    });
    connect(&w->session, &Session::followUp, this, &WindRegenTab::followUp);
}

void WindRegenTab::startUp()
{
    for (AutomationEditor *e : {ew, er, relf})
        e->startUp();
}

void WindRegenTab::enter() { Wind_Regen_MaskeEnter(); }
void WindRegenTab::refresh() { Wind_Regen_MaskeEnter(); }

void WindRegenTab::Wind_Regen_MaskeEnter()
{
    for (AutomationEditor *e : {ew, er, relf})
        e->tabEnter();
}

// Wind and rain share one direction, kept in the rain record: a change on either side
// redraws both lists and both direction combos.
void WindRegenTab::EW_RaumClick() { ew->raumClick(); }
void WindRegenTab::EW_Ein_AusClick() { ew->fieldClick("EW_Ein_Aus"); }
void WindRegenTab::EW_kmhClick() { ew->fieldClick("EW_kmh"); }
void WindRegenTab::EW_RichtungClick() { ew->fieldClick("EW_Richtung"); EW_RaumClick(); }
void WindRegenTab::EW_ListeClick() { ew->listeClick(); }
void WindRegenTab::EW_ListeDblClick() { ew->listeDblClick(); }
void WindRegenTab::EW_ShowFields() { ew->showFields(); }
void WindRegenTab::EW_DrawList() { ew->drawList(); }

void WindRegenTab::ER_RaumClick() { er->raumClick(); ew->loadField("EW_Richtung"); }
void WindRegenTab::ER_Ein_AusClick() { er->fieldClick("ER_Ein_Aus"); }
void WindRegenTab::ER_RichtungClick() { er->fieldClick("ER_Richtung"); EW_RaumClick(); }
void WindRegenTab::ER_ListeClick() { er->listeClick(); }
void WindRegenTab::ER_ListeDblClick() { er->listeDblClick(); }
void WindRegenTab::ER_ShowFields() { er->showFields(); }
void WindRegenTab::ER_DrawList() { er->drawList(); }

void WindRegenTab::RelF_RaumClick() { relf->raumClick(); }
void WindRegenTab::RelF_Ein_AusClick() { relf->fieldClick("RelF_Ein_Aus"); }
void WindRegenTab::RelF_gr_klClick() { relf->fieldClick("RelF_gr_kl"); }
void WindRegenTab::RelF_Schwelle_1Click() { relf->fieldClick("RelF_Schwelle_1"); }
void WindRegenTab::RelF_Schwelle_2Click() { relf->fieldClick("RelF_Schwelle_2"); }
void WindRegenTab::RelF_StellzeitClick() { relf->fieldClick("RelF_Stellzeit"); }
void WindRegenTab::RelF_vonClick() { relf->fieldClick("RelF_von"); }
void WindRegenTab::RelF_bisClick() { relf->fieldClick("RelF_bis"); }
void WindRegenTab::RelF_ListeClick() { relf->listeClick(); }
void WindRegenTab::RelF_ListeDblClick() { relf->listeDblClick(); }
void WindRegenTab::RelF_ShowFields() { relf->showFields(); }
void WindRegenTab::RelF_DrawList() { relf->drawList(); }

void WindRegenTab::followUp(FollowUp what)
{
    switch (what) {
    case FollowUp::Wind: EW_DrawList(); break;
    // The wind line shows the direction of the rain record.
    case FollowUp::Regen: ER_DrawList(); EW_DrawList(); break;
    case FollowUp::Feuchtigkeit: RelF_DrawList(); break;
    case FollowUp::LiveValues: showLiveValues(); break;
    default: break;
    }
}

void WindRegenTab::showLiveValues()
{
    const LiveValues &live = w->session.live;
    if (!live.received)
        return;
    AktWind->setText(live.aktWind);
    WindProgressBar->setVisible(live.windSpeed != 0);
    // Beyond the bar's range the bar stays full rather than keeping an old position.
    WindProgressBar->setValue(qBound(WindProgressBar->minimum(), live.windSpeed, WindProgressBar->maximum()));
    MaxWind->setText(live.maxWind);
    RegenStatus->setText(live.regenStatus);
    RelFeuchte->setText(live.relFeuchte);
}

} // namespace vandorelle
