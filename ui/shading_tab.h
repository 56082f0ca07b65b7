#pragma once

#include "ui/automation_displays.h"
#include "protocol/follow_up.h"
#include "ui/tab_page.h"

namespace vandorelle {

class AutomationEditor;

// Page "Beschattung_Maske": shading, dawn and dusk editors, the brightness display and
// the inside and outside temperatures.
class BeschattungTab : public TabPage {
    Q_OBJECT
public:
    explicit BeschattungTab(TQuorvix *window);

    void startUp() override;
    void enter() override;
    void refresh() override;

    AutomationEditor *ba = nullptr;
    AutomationEditor *dm = nullptr;
    AutomationEditor *da = nullptr;
    TemperatureBoxes inside; // IT_Min, IT_Aktuell, IT_Max
    TemperatureBoxes outside; // AT_Min, AT_Aktuell, AT_Max

    void Beschattung_MaskeEnter();

    void BA_RaumClick();
    void BA_EIN_AUSClick();
    void BA_TemperaturClick();
    void BA_vonClick();
    void BA_BisClick();
    void BA_LuxClick();
    void BA_DauerClick();
    void BA_ListeClick();
    void BA_ListeDblClick();
    void BA_LuxAktuellClick();
    void BA_ShowFields();
    void BA_DrawList();

    void DM_RaumClick();
    void DM_Ein_AusClick();
    void DM_vonClick();
    void DM_LuxClick();
    void DM_DauerClick();
    void DM_ListeClick();
    void DM_ListeDblClick();
    void DM_LuxAktuellClick();
    void DM_ShowFields();
    void DM_DrawList();

    void DA_RaumClick();
    void DA_Ein_AusClick();
    void DA_vonClick();
    void DA_LuxClick();
    void DA_DauerClick();
    void DA_ListeClick();
    void DA_ListeDblClick();
    void DA_LuxAktuellClick();
    void DA_ShowFields();
    void DA_DrawList();

private:
    void followUp(FollowUp what);
    void showLiveValues();
    void switchLuxMode();
    void showLuxCaptions();
};

} // namespace vandorelle
