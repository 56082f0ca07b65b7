#pragma once

#include "protocol/follow_up.h"
#include "ui/tab_page.h"

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace vandorelle {

class ReadOnlyBox;

// Page "Parameter" (caption " Parameter"): random time, alarm set-up, sensor types,
// conservatory settings, group central control; and the maximum-wind reset of the wind page.
class ParameterTab : public TabPage {
    Q_OBJECT
public:
    explicit ParameterTab(TQuorvix *window);

    void startUp() override;
    void enter() override;
    void leave() override;
    void refresh() override;

    // The 32 group check boxes show the bank on display; these move their ticks
    // between the boxes and GruppenZentralsteuerung of the store.
    void showGroupBank();  // store -> boxes (captions follow the bank)
    void storeGroupBank(); // boxes -> store
    // Puts another bank on display without storing the ticks shown (after a file load).
    void showGroupBankPage(int bank);
    void showAlarmBank();

    int alarmBank() const { return m_alarmBank; }
    int groupBank() const { return m_groupBank; }

    void ParameterEnter();
    void ParameterExit();
    void ZufallsZeitspanneClick();
    void BeschattungsHystereseClick();
    void OffsetAussentemperaturClick();
    void OffsetInnentemperaturClick();
    void Heiz_HystereseClick();
    void AS_1Click();
    void AS_2Click();
    void AS_3Click();
    void AS_4Click();
    void AS_5Click();
    void AS_6Click();
    void AS_7Click();
    void AS_8Click();
    void AS_Bank_next_Click();
    void GZ_Bank_next_Click();
    void MaxWindClick();

    // "Zufalls-Steuerung"
    QComboBox *ZufallsZeitspanne = nullptr;
    // "Alarm-Setup"
    QGroupBox *GroupBox_AlarmSetUp = nullptr;
    std::array<QLabel *, 8> AS_Labels{};    // AS_1_Label .. AS_8_Label
    std::array<QListWidget *, 8> AS_Lists{}; // AS_1 .. AS_8
    ReadOnlyBox *AlarmStatus = nullptr;
    ReadOnlyBox *AS_Bank_next = nullptr;
    QLabel *AS_Bank_Label = nullptr;
    // "Sensor-Typen"
    QGroupBox *GroupBox_SensorTypen = nullptr;
    QComboBox *BeschattungsHysterese = nullptr;
    QComboBox *OffsetAussentemperatur = nullptr;
    // "Wintergartensteuerungen"
    QGroupBox *GroupBox_WintergStrg = nullptr;
    QComboBox *OffsetInnentemperatur = nullptr;
    QComboBox *Heiz_Hysterese = nullptr;
    QLabel *Heiz_Hysterese_Label = nullptr;
    // "Gruppen-Zentralsteuerung, Soft-GZS"
    QGroupBox *GroupBox_GZS = nullptr;
    std::array<QCheckBox *, 32> CheckBoxes{}; // CheckBox1 .. CheckBox32, group-major
    ReadOnlyBox *GZ_Bank_next = nullptr;
    QLabel *GZ_Bank_Label = nullptr;
    QCheckBox *Soft_GZS = nullptr;
    // Time-signal reception
    QPushButton *DCF77Button = nullptr;

private:
    QWidget *buildRandomGroup();
    QWidget *buildAlarmGroup();
    QWidget *buildSensorGroup();
    QWidget *buildConservatoryGroup();
    QWidget *buildGroupControl();
    QWidget *buildTimeSignalGroup();
    void connectControls();
    void connectMaxWind();

    void alarmClick(int row); // row 1..8 of the shown bank
    void showGroupCaptions();
    void loadParameterBoxes();
    QCheckBox *groupCheckBox(int group, int row) const; // group 1..4, row 1..8
    QString motorName(int motorIndex) const;
    void followUp(FollowUp what);

    int m_alarmBank = 1;
    int m_groupBank = 1;
    bool m_maxWindConnected = false;
};

} // namespace vandorelle
