#include "ui/manual_tab.h"

#include "ui/automation_editor.h"
#include "ui/automation_tables.h"
#include "ui/main_window.h"
#include "ui/manual_control.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

namespace vandorelle {

using Page = HandsteuerungTab;

HandsteuerungTab::HandsteuerungTab(TQuorvix *window)
    : TabPage(window, "Handsteuerung_Maske")
{
    grid = pageGrid(this);
    manual = new ManualControl(window, this);
    grid->addWidget(manual, 0, 0, 2, 1);
    tast = new AutomationEditor(window, pushButtonTable(), this);
    ra = new AutomationEditor(window, reversingTable(), this);
    layOutEditors(grid, 1, {tast, ra}, manual->sizeHint().width() + kPageSpacing);
    qobject_cast<QLabel *>(tast->control("Tast_Label1"))->setAlignment(Qt::AlignRight | Qt::AlignBottom);

    wireCombos<Page>(this, {
        {"Tast_Raum", &Page::Tast_RaumClick},
        {"Tast_Ein_Aus", &Page::Tast_Ein_AusClick, &Page::Tast_RaumClick},
        {"Tast_Dauer", &Page::Tast_DauerClick, &Page::Tast_RaumClick},
        {"Tast_Dauer_Funk", &Page::Tast_DauerClick, &Page::Tast_RaumClick},
        {"RA_Raum", &Page::RA_RaumClick},
        {"RA_Ein_Aus", &Page::RA_Ein_AusClick, &Page::RA_RaumClick},
        {"RA_Auf", &Page::RA_AufClick, &Page::RA_RaumClick},
        {"RA_Ab", &Page::RA_AbClick, &Page::RA_RaumClick},
    });
    wireLists<Page>(this, {
        {tast->list, &Page::Tast_ListeClick, &Page::Tast_ListeDblClick},
        {ra->list, &Page::RA_ListeClick, &Page::RA_ListeDblClick},
    });
    connect(&w->session, &Session::followUp, this, &HandsteuerungTab::followUp);
}

void HandsteuerungTab::startUp()
{
    manual->startUp();
    tast->startUp();
    ra->startUp();
}

void HandsteuerungTab::enter() { Handsteuerung_MaskeEnter(); }
void HandsteuerungTab::leave() { manual->Handsteuerung_MaskeExit(); }

void HandsteuerungTab::refresh()
{
    manual->refreshLabels();
    tast->tabEnter();
    ra->tabEnter();
}

void HandsteuerungTab::Handsteuerung_MaskeEnter()
{
    tast->tabEnter();
    ra->tabEnter();
    manual->Handsteuerung_MaskeEnter();
}

void HandsteuerungTab::Tast_RaumClick() { tast->raumClick(); }
void HandsteuerungTab::Tast_Ein_AusClick() { tast->fieldClick("Tast_Ein_Aus"); }
void HandsteuerungTab::Tast_DauerClick() { tast->fieldClick("Tast_Dauer"); }
void HandsteuerungTab::Tast_ListeClick() { tast->listeClick(); }
void HandsteuerungTab::Tast_ListeDblClick() { tast->listeDblClick(); }
void HandsteuerungTab::Tast_ShowFields() { tast->showFields(); }
void HandsteuerungTab::Tast_DrawList() { tast->drawList(); }

void HandsteuerungTab::RA_RaumClick() { ra->raumClick(); }
void HandsteuerungTab::RA_Ein_AusClick() { ra->fieldClick("RA_Ein_Aus"); }
void HandsteuerungTab::RA_AufClick() { ra->fieldClick("RA_Auf"); }
void HandsteuerungTab::RA_AbClick() { ra->fieldClick("RA_Ab"); }
void HandsteuerungTab::RA_ListeClick() { ra->listeClick(); }
void HandsteuerungTab::RA_ListeDblClick() { ra->listeDblClick(); }
void HandsteuerungTab::RA_ShowFields() { ra->showFields(); }
void HandsteuerungTab::RA_DrawList() { ra->drawList(); }

void HandsteuerungTab::followUp(FollowUp what)
{
    switch (what) {
    case FollowUp::TastAutomatik: Tast_DrawList(); break;
    case FollowUp::Reversierung: RA_DrawList(); break;
    default: break;
    }
}

} // namespace vandorelle
