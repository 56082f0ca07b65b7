#pragma once

#include "config/store.h"
#include "protocol/follow_up.h"
#include "ui/automation_displays.h"
#include "ui/tab_page.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace vandorelle {

class WeekOverview;

// Page "Heizung_Maske": heating editor, its overview list, the week of day and night
// switching times, and the temperature readings.
class HeizungTab : public TabPage {
    Q_OBJECT
public:
    explicit HeizungTab(TQuorvix *window);

    void startUp() override;
    void enter() override;
    void refresh() override;

    // Group box "Heizungs-Steuerung"
    QGroupBox *HeizungGroup = nullptr;
    QComboBox *Heiz_Raum = nullptr;
    QComboBox *Heiz_Ein_Aus = nullptr;
    QComboBox *Heiz_Betriebsart = nullptr;
    QComboBox *Heiz_Tag_Nacht = nullptr;
    QComboBox *Heiz_Tag_Temperatur = nullptr;
    QComboBox *Heiz_Nacht_Temperatur = nullptr;
    QLabel *Heiz_Label_1 = nullptr;
    QLabel *Heiz_Label_2 = nullptr;
    QLabel *Heiz_Label_3 = nullptr;
    QLabel *Heiz_Label_4 = nullptr;
    QPushButton *Help_Heiz = nullptr;

    QListWidget *Heiz_Liste = nullptr;
    WeekOverview *WochenUebersicht = nullptr;
    TemperatureBoxes outside;
    TemperatureBoxes inside;

    void Heizung_Maske_Enter();
    void Heiz_Raum_Click(); // motor chosen, and the refresh after every value box
    void Heiz_EIN_AUSClick();
    void Heiz_Betriebsart_Click();
    void Heiz_Tag_NachtClick();
    void Heiz_Tag_TemperaturClick();
    void Heiz_Nacht_TemperaturClick();
    void Heiz_ListeClick();
    void Heiz_Liste_DblClick();

    void redrawList();
    void redrawWeekOverview();
    void setVisibility();

    static QString weekCaption(const QString &motorName);

private:
    QWidget *buildEditorGroup();
    QWidget *buildListColumn();
    QWidget *buildReadings();
    void connectControls();
    void loadFields();
    void copyNamesFromStore();
    // Writes a box's choice into the heating record of the motor in Heiz_Raum.
    void storeChoice(QComboBox *box, int32_t HeizungsRecord::*field);
    int motor() const;
    void followUp(FollowUp what);
    void showLiveValues();
};

} // namespace vandorelle
