#pragma once

#include "protocol/follow_up.h"
#include "ui/tab_page.h"

class QGridLayout;

namespace vandorelle {

class AutomationEditor;
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
    AutomationEditor *tast = nullptr;
    AutomationEditor *ra = nullptr;
    // Column 0 holds the manual-control group box, columns 1 and 2 the two automation
    // editors and their lists.
    QGridLayout *grid = nullptr;

    void Handsteuerung_MaskeEnter();

    void Tast_RaumClick();
    void Tast_Ein_AusClick();
    void Tast_DauerClick(); // both duration combos
    void Tast_ListeClick();
    void Tast_ListeDblClick();
    void Tast_ShowFields();
    void Tast_DrawList();

    void RA_RaumClick();
    void RA_Ein_AusClick();
    void RA_AufClick();
    void RA_AbClick();
    void RA_ListeClick();
    void RA_ListeDblClick();
    void RA_ShowFields();
    void RA_DrawList();

private:
    void followUp(FollowUp what);
};

} // namespace vandorelle
