#include "ui/heating_tab.h"

#include "ui/main_window.h"

namespace vandorelle {

HeizungTab::HeizungTab(TQuorvix *window)
    : TabPage(window, "Heizung_Maske")
{
}

} // namespace vandorelle
