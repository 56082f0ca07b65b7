#include "ui/wind_tab.h"

#include "ui/main_window.h"

namespace vandorelle {

WindRegenTab::WindRegenTab(TQuorvix *window)
    : TabPage(window, "Wind_Regen_Maske")
{
}

} // namespace vandorelle
