#include "ui/conservatory_tab.h"

#include "ui/automation_editor.h"
#include "ui/automation_tables.h"
#include "ui/main_window.h"
#include "ui/verlauf_window.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>

namespace vandorelle {

using Page = WintergartenTab;

WintergartenTab::WintergartenTab(TQuorvix *window)
    : TabPage(window, "Wintergarten_Maske")
{
    auto *grid = pageGrid(this);
    pt = new AutomationEditor(window, proportionalTable(), this);
    it = new AutomationEditor(window, insideTable(), this);
    at = new AutomationEditor(window, outsideTable(), this);
    // The temperatures go under the group boxes; the last list reaches down beside them.
    const int row = layOutEditors(grid, 0, {pt, it, at}, 0, 2);
    // Over the temperature readings, where the last editor's row has room.
    at->addToLastRow(verlaufButton(window, this, "Verlauf_Temperatur", Quantity::Temperatur));
    auto *temperatures = new QHBoxLayout;
    temperatures->addWidget(temperatureGroup(this, QStringLiteral("GroupBoxAussentemperatur2"),
                                             QStringLiteral("Außentemperatur"), QStringLiteral("AT_min2"),
                                             QStringLiteral("AT_Aktuell2"), QStringLiteral("AT_Max2"), outside));
    temperatures->addWidget(temperatureGroup(this, QStringLiteral("GroupBoxInnentemperatur2"),
                                             QStringLiteral("Innentemperatur"), QStringLiteral("IT_Min2"),
                                             QStringLiteral("IT_Aktuell2"), QStringLiteral("IT_Max2"), inside));
    temperatures->addStretch(1);
    grid->addLayout(temperatures, row, 0);

    wireCombos<Page>(this, {
        {"PT_Raum", &Page::PT_RaumClick},
        {"PT_Ein_Aus", &Page::PT_Ein_AusClick, &Page::PT_RaumClick},
        {"PT_von", &Page::PT_vonClick, &Page::PT_RaumClick},
        {"PT_bis", &Page::PT_bisClick, &Page::PT_RaumClick},
        {"PT_Soll_Temp", &Page::PT_Soll_TempClick, &Page::PT_RaumClick},
        {"PT_Richtung", &Page::PT_RichtungClick, &Page::PT_RaumClick},
        {"PT_Bereich", &Page::PT_BereichClick, &Page::PT_RaumClick},
        {"PT_Stellzeit", &Page::PT_StellzeitClick, &Page::PT_RaumClick},
        {"PT_Schritte", &Page::PT_SchritteClick, &Page::PT_RaumClick},
        {"IT_Raum", &Page::IT_RaumClick},
        {"IT_Ein_Aus", &Page::IT_Ein_AusClick, &Page::IT_RaumClick},
        {"IT_gr_kl", &Page::IT_gr_klClick, &Page::IT_RaumClick},
        {"IT_Schwelle_1", &Page::IT_Schwelle_1Click, &Page::IT_RaumClick},
        {"IT_Auf_Ab", &Page::IT_Auf_AbClick, &Page::IT_RaumClick},
        {"IT_Schwelle_2", &Page::IT_Schwelle_2Click, &Page::IT_RaumClick},
        {"IT_Stellzeit", &Page::IT_StellzeitClick, &Page::IT_RaumClick},
        {"IT_von", &Page::IT_vonClick, &Page::IT_RaumClick},
        {"IT_bis", &Page::IT_bisClick, &Page::IT_RaumClick},
        {"AT_Raum", &Page::AT_RaumClick},
        {"AT_Ein_Aus", &Page::AT_Ein_AusClick, &Page::AT_RaumClick},
        {"AT_Schwelle_1", &Page::AT_Schwelle_1Click, &Page::AT_RaumClick},
        {"AT_Auf_Ab", &Page::AT_Auf_AbClick, &Page::AT_RaumClick},
        {"AT_Schwelle_2", &Page::AT_Schwelle_2Click, &Page::AT_RaumClick},
        {"AT_Stellzeit", &Page::AT_StellzeitClick, &Page::AT_RaumClick},
    });
    wireLists<Page>(this, {
        {pt->list, &Page::PT_ListeClick, &Page::PT_ListeDblClick},
        {it->list, &Page::IT_ListeClick, &Page::IT_ListeDblClick},
        {at->list, &Page::AT_ListeClick, &Page::AT_ListeDblClick},
    });
    connect(&w->session, &Session::followUp, this, &WintergartenTab::followUp);
}

void WintergartenTab::startUp()
{
    for (AutomationEditor *e : {pt, it, at})
        e->startUp();
}

void WintergartenTab::enter() { Wintergarten_MaskeEnter(); }
void WintergartenTab::refresh() { Wintergarten_MaskeEnter(); }

void WintergartenTab::Wintergarten_MaskeEnter()
{
    for (AutomationEditor *e : {pt, it, at})
        e->tabEnter();
}

void WintergartenTab::PT_RaumClick() { pt->raumClick(); }
void WintergartenTab::PT_Ein_AusClick() { pt->fieldClick("PT_Ein_Aus"); }
void WintergartenTab::PT_vonClick() { pt->fieldClick("PT_von"); }
void WintergartenTab::PT_bisClick() { pt->fieldClick("PT_bis"); }
void WintergartenTab::PT_Soll_TempClick() { pt->fieldClick("PT_Soll_Temp"); }
void WintergartenTab::PT_RichtungClick() { pt->fieldClick("PT_Richtung"); }
void WintergartenTab::PT_BereichClick() { pt->fieldClick("PT_Bereich"); }
void WintergartenTab::PT_StellzeitClick() { pt->fieldClick("PT_Stellzeit"); }
void WintergartenTab::PT_SchritteClick() { pt->fieldClick("PT_Schritte"); }
void WintergartenTab::PT_ListeClick() { pt->listeClick(); }
void WintergartenTab::PT_ListeDblClick() { pt->listeDblClick(); }
void WintergartenTab::PT_ShowFields() { pt->showFields(); }
void WintergartenTab::PT_DrawList() { pt->drawList(); }

void WintergartenTab::IT_RaumClick() { it->raumClick(); }
void WintergartenTab::IT_Ein_AusClick() { it->fieldClick("IT_Ein_Aus"); }
void WintergartenTab::IT_gr_klClick() { it->fieldClick("IT_gr_kl"); }
void WintergartenTab::IT_Schwelle_1Click() { it->fieldClick("IT_Schwelle_1"); }
void WintergartenTab::IT_Auf_AbClick() { it->fieldClick("IT_Auf_Ab"); }
void WintergartenTab::IT_Schwelle_2Click() { it->fieldClick("IT_Schwelle_2"); }
void WintergartenTab::IT_StellzeitClick() { it->fieldClick("IT_Stellzeit"); }
void WintergartenTab::IT_vonClick() { it->fieldClick("IT_von"); }
void WintergartenTab::IT_bisClick() { it->fieldClick("IT_bis"); }
void WintergartenTab::IT_ListeClick() { it->listeClick(); }
void WintergartenTab::IT_ListeDblClick() { it->listeDblClick(); }
void WintergartenTab::IT_ShowFields() { it->showFields(); }
void WintergartenTab::IT_DrawList() { it->drawList(); }

void WintergartenTab::AT_RaumClick() { at->raumClick(); }
void WintergartenTab::AT_Ein_AusClick() { at->fieldClick("AT_Ein_Aus"); }
void WintergartenTab::AT_Schwelle_1Click() { at->fieldClick("AT_Schwelle_1"); }
void WintergartenTab::AT_Auf_AbClick() { at->fieldClick("AT_Auf_Ab"); }
void WintergartenTab::AT_Schwelle_2Click() { at->fieldClick("AT_Schwelle_2"); }
void WintergartenTab::AT_StellzeitClick() { at->fieldClick("AT_Stellzeit"); }
void WintergartenTab::AT_ListeClick() { at->listeClick(); }
void WintergartenTab::AT_ListeDblClick() { at->listeDblClick(); }
void WintergartenTab::AT_ShowFields() { at->showFields(); }
void WintergartenTab::AT_DrawList() { at->drawList(); }

void WintergartenTab::followUp(FollowUp what)
{
    switch (what) {
    case FollowUp::ProportionaleTemperatur: PT_DrawList(); break;
    case FollowUp::InnenTemperatur: IT_DrawList(); break;
    case FollowUp::AussenTemperatur: AT_DrawList(); break;
    case FollowUp::LiveValues:
        if (w->session.live.received) {
            showInsideTemperatures(inside, w->session.live);
            showOutsideTemperatures(outside, w->session.live);
        }
        break;
    default: break;
    }
}

} // namespace vandorelle
