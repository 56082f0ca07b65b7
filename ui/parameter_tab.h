#pragma once

#include "ui/tab_page.h"

namespace vandorelle {

// Page "Parameter" (caption " Parameter"): random time, alarm set-up, sensor types,
// conservatory settings, group central control.
class ParameterTab : public TabPage {
    Q_OBJECT
public:
    explicit ParameterTab(TQuorvix *window);

    // The 32 group check boxes show the bank on display; these move their ticks
    // between the boxes and GruppenZentralsteuerung of the store.
    void showGroupBank();  // store -> boxes
    void storeGroupBank(); // boxes -> store
};

} // namespace vandorelle
