#include "ui/shading_tab.h"

#include "ui/automation_editor.h"
#include "ui/automation_tables.h"
#include "ui/main_window.h"
#include "ui/verlauf_window.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

namespace vandorelle {

using Page = BeschattungTab;

BeschattungTab::BeschattungTab(TQuorvix *window)
    : TabPage(window, "Beschattung_Maske")
{
    auto *grid = pageGrid(this);
    ba = new AutomationEditor(window, shadingTable(), this);
    dm = new AutomationEditor(window, dawnTable(), this);
    da = new AutomationEditor(window, duskTable(), this);
    // The temperatures go under the group boxes; the last list reaches down beside them.
    const int row = layOutEditors(grid, 0, {ba, dm, da}, 0, 2);
    // Beside the brightness display of the dawn editor, where its row has room.
    dm->addToLastRow(verlaufButton(window, this, "Verlauf_Lux", Quantity::Helligkeit));
    auto *temperatures = new QHBoxLayout;
    temperatures->addWidget(temperatureGroup(this, QStringLiteral("GroupBoxInnentemperatur"),
                                             QStringLiteral("Innentemperatur"), QStringLiteral("IT_Min"),
                                             QStringLiteral("IT_Aktuell"), QStringLiteral("IT_Max"), inside));
    temperatures->addWidget(temperatureGroup(this, QStringLiteral("GroupBoxAussentemperatur"),
                                             QStringLiteral("Außentemperatur"), QStringLiteral("AT_Min"),
                                             QStringLiteral("AT_Aktuell"), QStringLiteral("AT_Max"), outside));
    temperatures->addStretch(1);
    grid->addLayout(temperatures, row, 0);

    wireCombos<Page>(this, {
        {"BA_Raum", &Page::BA_RaumClick},
        {"BA_EIN_AUS", &Page::BA_EIN_AUSClick, &Page::BA_RaumClick},
        {"BA_Temperatur", &Page::BA_TemperaturClick, &Page::BA_RaumClick},
        {"BA_von", &Page::BA_vonClick, &Page::BA_RaumClick},
        {"BA_Bis", &Page::BA_BisClick, &Page::BA_RaumClick},
        {"BA_Lux", &Page::BA_LuxClick, &Page::BA_RaumClick},
        {"BA_Dauer", &Page::BA_DauerClick, &Page::BA_RaumClick},
        {"DM_Raum", &Page::DM_RaumClick},
        {"DM_Ein_Aus", &Page::DM_Ein_AusClick, &Page::DM_RaumClick},
        {"DM_von", &Page::DM_vonClick, &Page::DM_RaumClick},
        {"DM_Lux", &Page::DM_LuxClick, &Page::DM_RaumClick},
        {"DM_Dauer", &Page::DM_DauerClick, &Page::DM_RaumClick},
        {"DA_Raum", &Page::DA_RaumClick},
        {"DA_Ein_Aus", &Page::DA_Ein_AusClick, &Page::DA_RaumClick},
        {"DA_von", &Page::DA_vonClick, &Page::DA_RaumClick},
        {"DA_Lux", &Page::DA_LuxClick, &Page::DA_RaumClick},
        {"DA_Dauer", &Page::DA_DauerClick, &Page::DA_RaumClick},
    });
    wireLists<Page>(this, {
        {ba->list, &Page::BA_ListeClick, &Page::BA_ListeDblClick},
        {dm->list, &Page::DM_ListeClick, &Page::DM_ListeDblClick},
        {da->list, &Page::DA_ListeClick, &Page::DA_ListeDblClick},
    });
    const std::pair<ReadOnlyBox *, void (Page::*)()> luxBoxes[] = {
        {ba->display("BA_LuxAktuell"), &Page::BA_LuxAktuellClick},
        {dm->display("DM_LuxAktuell"), &Page::DM_LuxAktuellClick},
        {da->display("DA_LuxAktuell"), &Page::DA_LuxAktuellClick},
    };
    for (const auto &[box, handler] : luxBoxes) {
        box->setCursor(Qt::PointingHandCursor);
        connect(box, &ReadOnlyBox::clicked, this, handler);
    }
    connect(&w->session, &Session::followUp, this, &BeschattungTab::followUp);
}

void BeschattungTab::startUp()
{
    for (AutomationEditor *e : {ba, dm, da})
        e->startUp();
    w->session.luxMean = true;
    showLuxCaptions();
}

void BeschattungTab::enter() { Beschattung_MaskeEnter(); }
void BeschattungTab::refresh() { Beschattung_MaskeEnter(); }

void BeschattungTab::Beschattung_MaskeEnter()
{
    for (AutomationEditor *e : {ba, dm, da})
        e->tabEnter();
}

void BeschattungTab::BA_RaumClick() { ba->raumClick(); }
void BeschattungTab::BA_EIN_AUSClick() { ba->fieldClick("BA_EIN_AUS"); }
void BeschattungTab::BA_TemperaturClick() { ba->fieldClick("BA_Temperatur"); }
void BeschattungTab::BA_vonClick() { ba->fieldClick("BA_von"); }
void BeschattungTab::BA_BisClick() { ba->fieldClick("BA_Bis"); }
void BeschattungTab::BA_LuxClick() { ba->fieldClick("BA_Lux"); }
void BeschattungTab::BA_DauerClick() { ba->fieldClick("BA_Dauer"); }
void BeschattungTab::BA_ListeClick() { ba->listeClick(); }
void BeschattungTab::BA_ListeDblClick() { ba->listeDblClick(); }
void BeschattungTab::BA_LuxAktuellClick() { switchLuxMode(); }
void BeschattungTab::BA_ShowFields() { ba->showFields(); }
void BeschattungTab::BA_DrawList() { ba->drawList(); }

void BeschattungTab::DM_RaumClick() { dm->raumClick(); }
void BeschattungTab::DM_Ein_AusClick() { dm->fieldClick("DM_Ein_Aus"); }
void BeschattungTab::DM_vonClick() { dm->fieldClick("DM_von"); }
void BeschattungTab::DM_LuxClick() { dm->fieldClick("DM_Lux"); }
void BeschattungTab::DM_DauerClick() { dm->fieldClick("DM_Dauer"); }
void BeschattungTab::DM_ListeClick() { dm->listeClick(); }
void BeschattungTab::DM_ListeDblClick() { dm->listeDblClick(); }
void BeschattungTab::DM_LuxAktuellClick() { switchLuxMode(); }
void BeschattungTab::DM_ShowFields() { dm->showFields(); }
void BeschattungTab::DM_DrawList() { dm->drawList(); }

void BeschattungTab::DA_RaumClick() { da->raumClick(); }
void BeschattungTab::DA_Ein_AusClick() { da->fieldClick("DA_Ein_Aus"); }
void BeschattungTab::DA_vonClick() { da->fieldClick("DA_von"); }
void BeschattungTab::DA_LuxClick() { da->fieldClick("DA_Lux"); }
void BeschattungTab::DA_DauerClick() { da->fieldClick("DA_Dauer"); }
void BeschattungTab::DA_ListeClick() { da->listeClick(); }
void BeschattungTab::DA_ListeDblClick() { da->listeDblClick(); }
void BeschattungTab::DA_LuxAktuellClick() { switchLuxMode(); }
void BeschattungTab::DA_ShowFields() { da->showFields(); }
void BeschattungTab::DA_DrawList() { da->drawList(); }

void BeschattungTab::followUp(FollowUp what)
{
    switch (what) {
    case FollowUp::Beschattung: BA_DrawList(); break;
    case FollowUp::DaemmerungMorgen: DM_DrawList(); break;
    case FollowUp::DaemmerungAbend: DA_DrawList(); break;
    case FollowUp::LiveValues: showLiveValues(); break;
    default: break;
    }
}

void BeschattungTab::showLiveValues()
{
    const LiveValues &live = w->session.live;
    if (!live.received)
        return;
    showInsideTemperatures(inside, live);
    showOutsideTemperatures(outside, live);
    const QString lux = w->session.luxMean ? live.luxMean : live.luxCurrent;
    ba->display("BA_LuxAktuell")->setText(lux);
    dm->display("DM_LuxAktuell")->setText(lux);
    da->display("DA_LuxAktuell")->setText(lux);
}

// The values follow at the next sensor update; only the captions change now.
void BeschattungTab::switchLuxMode()
{
    w->session.luxMean = !w->session.luxMean;
    showLuxCaptions();
}

void BeschattungTab::showLuxCaptions()
{
    const QString caption = w->session.luxMean ? QStringLiteral("Lux mittel") : QStringLiteral("Lux aktuell");
    qobject_cast<QLabel *>(ba->control("BA_Label5"))->setText(caption);
    qobject_cast<QLabel *>(dm->control("DM_Label4"))->setText(caption);
    qobject_cast<QLabel *>(da->control("DA_Label4"))->setText(caption);
}

} // namespace vandorelle
