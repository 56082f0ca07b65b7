#pragma once

#include "ui/tab_page.h"

namespace vandorelle {

// Page "Beschattung_Maske": shading, dawn and dusk editors.
class BeschattungTab : public TabPage {
    Q_OBJECT
public:
    explicit BeschattungTab(TQuorvix *window);
};

} // namespace vandorelle
