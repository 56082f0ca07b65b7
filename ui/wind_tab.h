#pragma once

#include "protocol/follow_up.h"
#include "ui/tab_page.h"

class QProgressBar;

namespace vandorelle {

class AutomationEditor;
class ReadOnlyBox;

// Page "Wind_Regen_Maske": wind, rain and humidity editors and the wind, rain and
// humidity readings.
class WindRegenTab : public TabPage {
    Q_OBJECT
public:
    explicit WindRegenTab(TQuorvix *window);

    void startUp() override;
    void enter() override;
    void refresh() override;

    AutomationEditor *ew = nullptr;
    AutomationEditor *er = nullptr;
    AutomationEditor *relf = nullptr;
    ReadOnlyBox *AktWind = nullptr;
    ReadOnlyBox *MaxWind = nullptr; // its click (reset) is handled by the parameter tab
    QProgressBar *WindProgressBar = nullptr;
    ReadOnlyBox *RegenStatus = nullptr;
    ReadOnlyBox *RelFeuchte = nullptr;

    void Wind_Regen_MaskeEnter();

    void EW_RaumClick();
    void EW_Ein_AusClick();
    void EW_kmhClick();
    void EW_RichtungClick();
    void EW_ListeClick();
    void EW_ListeDblClick();
    void EW_ShowFields();
    void EW_DrawList();

    void ER_RaumClick();
    void ER_Ein_AusClick();
    void ER_RichtungClick();
    void ER_ListeClick();
    void ER_ListeDblClick();
    void ER_ShowFields();
    void ER_DrawList();

    void RelF_RaumClick();
    void RelF_Ein_AusClick();
    void RelF_gr_klClick();
    void RelF_Schwelle_1Click();
    void RelF_Schwelle_2Click();
    void RelF_StellzeitClick();
    void RelF_vonClick();
    void RelF_bisClick();
    void RelF_ListeClick();
    void RelF_ListeDblClick();
    void RelF_ShowFields();
    void RelF_DrawList();

private:
    void followUp(FollowUp what);
    void showLiveValues();
};

} // namespace vandorelle
