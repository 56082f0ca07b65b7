#include "ui/logbook_tab.h"

#include "ui/main_window.h"

namespace vandorelle {

LogbuchTab::LogbuchTab(TQuorvix *window)
    : TabPage(window, "Alarm_Logbuch_Maske")
{
}

} // namespace vandorelle
