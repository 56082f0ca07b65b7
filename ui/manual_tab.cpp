#include "ui/manual_tab.h"

#include "ui/main_window.h"
#include "ui/manual_control.h"

#include <QGridLayout>

namespace vandorelle {

HandsteuerungTab::HandsteuerungTab(TQuorvix *window)
    : TabPage(window, "Handsteuerung_Maske")
{
    grid = new QGridLayout(this);
    manual = new ManualControl(window, this);
    grid->addWidget(manual, 0, 0);
}

void HandsteuerungTab::startUp() { manual->startUp(); }
void HandsteuerungTab::enter() { manual->Handsteuerung_MaskeEnter(); }
void HandsteuerungTab::leave() { manual->Handsteuerung_MaskeExit(); }
void HandsteuerungTab::refresh() { manual->refreshLabels(); }

} // namespace vandorelle
