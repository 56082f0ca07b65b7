#include "ui/parameter_tab.h"

#include "ui/main_window.h"

namespace vandorelle {

ParameterTab::ParameterTab(TQuorvix *window)
    : TabPage(window, "Parameter")
{
}

void ParameterTab::showGroupBank() {}
void ParameterTab::storeGroupBank() {}

} // namespace vandorelle
