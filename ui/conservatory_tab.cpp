#include "ui/conservatory_tab.h"

#include "ui/main_window.h"

namespace vandorelle {

WintergartenTab::WintergartenTab(TQuorvix *window)
    : TabPage(window, "Wintergarten_Maske")
{
}

} // namespace vandorelle
