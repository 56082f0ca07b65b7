#pragma once

#include "ui/tab_page.h"

class QGridLayout;

namespace vandorelle {

class ManualControl;

// Page "Handsteuerung_Maske": manual motor control (group box `Handsteuerung`) beside the
// push-button and reversing automation editors.
class HandsteuerungTab : public TabPage {
    Q_OBJECT
public:
    explicit HandsteuerungTab(TQuorvix *window);

    void startUp() override;
    void enter() override;
    void leave() override;
    void refresh() override;

    ManualControl *manual = nullptr;
    // Column 0 holds the manual-control group box, column 1 the two automation editors.
    QGridLayout *grid = nullptr;
};

} // namespace vandorelle
