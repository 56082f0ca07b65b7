#pragma once

#include "ui/tab_page.h"

namespace vandorelle {

// Page "Alarm_Logbuch_Maske": logbook display and export.
class LogbuchTab : public TabPage {
    Q_OBJECT
public:
    explicit LogbuchTab(TQuorvix *window);
};

} // namespace vandorelle
