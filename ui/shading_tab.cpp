#include "ui/shading_tab.h"

#include "ui/main_window.h"

namespace vandorelle {

BeschattungTab::BeschattungTab(TQuorvix *window)
    : TabPage(window, "Beschattung_Maske")
{
}

} // namespace vandorelle
