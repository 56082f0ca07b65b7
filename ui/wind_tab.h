#pragma once

#include "ui/tab_page.h"

namespace vandorelle {

// Page "Wind_Regen_Maske": wind, rain and humidity editors.
class WindRegenTab : public TabPage {
    Q_OBJECT
public:
    explicit WindRegenTab(TQuorvix *window);
};

} // namespace vandorelle
