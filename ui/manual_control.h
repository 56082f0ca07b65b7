#pragma once

#include <QGroupBox>

namespace vandorelle {

class TQuorvix;

// The group box `Handsteuerung`: drives motors by hand, eight at a time.
class ManualControl : public QGroupBox {
    Q_OBJECT
public:
    ManualControl(TQuorvix *window, QWidget *parent);

    void startUp();                   // all motors on the stop choice, bank 1
    void Handsteuerung_MaskeEnter();  // the tab was entered
    void Handsteuerung_MaskeExit();   // the tab is left
    void refreshLabels();             // HS_1_Label .. HS_8_Label from the names of the shown bank

protected:
    TQuorvix *const w;
};

} // namespace vandorelle
