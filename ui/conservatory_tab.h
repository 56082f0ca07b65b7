#pragma once

#include "ui/tab_page.h"

namespace vandorelle {

// Page "Wintergarten_Maske": proportional, inside and outside temperature editors.
class WintergartenTab : public TabPage {
    Q_OBJECT
public:
    explicit WintergartenTab(TQuorvix *window);
};

} // namespace vandorelle
