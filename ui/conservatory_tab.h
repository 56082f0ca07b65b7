#pragma once

#include "ui/automation_displays.h"
#include "protocol/follow_up.h"
#include "ui/tab_page.h"

namespace vandorelle {

class AutomationEditor;

// Page "Wintergarten_Maske": proportional, inside and outside temperature editors and
// the temperature readings.
class WintergartenTab : public TabPage {
    Q_OBJECT
public:
    explicit WintergartenTab(TQuorvix *window);

    void startUp() override;
    void enter() override;
    void refresh() override;

    AutomationEditor *pt = nullptr;
    AutomationEditor *it = nullptr;
    AutomationEditor *at = nullptr;
    TemperatureBoxes inside;  // IT_Min2, IT_Aktuell2, IT_Max2
    TemperatureBoxes outside; // AT_min2, AT_Aktuell2, AT_Max2

    void Wintergarten_MaskeEnter();

    void PT_RaumClick();
    void PT_Ein_AusClick();
    void PT_vonClick();
    void PT_bisClick();
    void PT_Soll_TempClick();
    void PT_RichtungClick();
    void PT_BereichClick();
    void PT_StellzeitClick();
    void PT_SchritteClick();
    void PT_ListeClick();
    void PT_ListeDblClick();
    void PT_ShowFields();
    void PT_DrawList();

    void IT_RaumClick();
    void IT_Ein_AusClick();
    void IT_gr_klClick();
    void IT_Schwelle_1Click();
    void IT_Auf_AbClick();
    void IT_Schwelle_2Click();
    void IT_StellzeitClick();
    void IT_vonClick();
    void IT_bisClick();
    void IT_ListeClick();
    void IT_ListeDblClick();
    void IT_ShowFields();
    void IT_DrawList();

    void AT_RaumClick();
    void AT_Ein_AusClick();
    void AT_Schwelle_1Click();
    void AT_Auf_AbClick();
    void AT_Schwelle_2Click();
    void AT_StellzeitClick();
    void AT_ListeClick();
    void AT_ListeDblClick();
    void AT_ShowFields();
    void AT_DrawList();

private:
    void followUp(FollowUp what);
};

} // namespace vandorelle
