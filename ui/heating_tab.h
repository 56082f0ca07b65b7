#pragma once

#include "ui/tab_page.h"

namespace vandorelle {

// Page "Heizung_Maske": heating editor and week overview.
class HeizungTab : public TabPage {
    Q_OBJECT
public:
    explicit HeizungTab(TQuorvix *window);
};

} // namespace vandorelle
