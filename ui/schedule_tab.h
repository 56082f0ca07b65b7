#pragma once

#include "protocol/session.h"
#include "ui/tab_page.h"

#include <QPointer>

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace vandorelle {

class ColumnHeading;
class DayBar;
class MotorNameComboBox;
class ScheduleList;
class SymbolComboBox;
class WeekOverview;

// Page "Schaltzeit_Maske": switching-time editor, weekly overviews, names, copying,
// free memory; hosts the transfer groups (TransferPanel).
class SchaltzeitTab : public TabPage {
    Q_OBJECT
public:
    explicit SchaltzeitTab(TQuorvix *window);

    // Used by the read-all exchange: clear the selectors and the lists, show
    // "     Lese Daten von Steuerung ..." on line 7 of both lists.
    void prepareForRead();
    // Line 7 (index 6) of DatenListe_Tag, then the same text into DatenListe_Motor.
    void showReadProgress(const QString &line);
    // End of a read-all: redraw both lists, select item 1 of CB_Wochentag, CB_Raum,
    // CB_Copy_Raum (copy_from_label follows) and CB_Schaltzeit_Nr.
    void finishRead();
    // Lists, day bar, heating week overview and free-memory figure from the store.
    void redrawAll();
    // Recomputes the free-memory figure (panel 6, Speicherplatz_Label).
    void updateFreeMemory();
    // Monday, motor 1, number 1 selected and loaded (after a file load or a read).
    void selectStartEntry();

    void startUp() override;
    void refresh() override;

    // Editor operations, named after the control events that run them.
    void CB_WochentagClick();
    void DatenListe_TagClick();
    void DatenListe_TagMouseDown(int x);
    void CB_SchaltzeitClick();
    void CB_FunktionChange();
    void Schaltzeit_Loeschen();
    void TagButtonClick();
    void MotorButtonClick();
    void CB_RaumChange();
    void CB_RaumKeyPress(int key);
    void CB_RaumExit();
    void CB_RaumDropDown();
    void CB_Copy_RaumChange();

    // The views.
    void redrawLists();       // both lists in place, then the free-memory figure
    void redrawDayBar();
    void redrawHeatingWeekOverview();

    // Group box "Schaltzeiten anzeigen und ändern"
    QGroupBox *SchaltzeitenGroup = nullptr;
    QComboBox *CB_Wochentag = nullptr;
    MotorNameComboBox *CB_Raum = nullptr;
    QComboBox *CB_Schaltzeit_Nr = nullptr;
    SymbolComboBox *CB_Up_Down = nullptr;
    QComboBox *CB_Schaltzeit = nullptr;
    QComboBox *CB_Dauer = nullptr;
    QComboBox *CB_Gruppe = nullptr;
    QComboBox *CB_Funktion = nullptr;
    QPushButton *Help_FS = nullptr;

    // Schedule lists, one visible at a time, with their headings and sort buttons
    ScheduleList *DatenListe_Tag = nullptr;
    ScheduleList *DatenListe_Motor = nullptr;
    ColumnHeading *Label42 = nullptr;
    ColumnHeading *Label37 = nullptr;
    QPushButton *TagButton = nullptr;
    QPushButton *MotorButton = nullptr;

    // Day bar
    QGroupBox *GroupBox20 = nullptr;
    DayBar *dayBar = nullptr;
    QLabel *Tag_und_Motor = nullptr;

    // Group box "Schaltzeiten kopieren"
    QGroupBox *KopierenGroup = nullptr;
    QLabel *copy_from_label = nullptr;
    QComboBox *CB_Copy_Raum = nullptr;
    QPushButton *Help_SchZeitCopy = nullptr;

    bool tagListShown() const { return m_tagListShown; }
    int nameTarget() const { return m_nameTarget; }
    int rememberedPointerX() const { return m_pointerX; }

private:
    enum class LoadFrom { Selectors, ListClick };

    QWidget *buildEditorGroup();
    QWidget *buildDayBar();
    QWidget *buildCopyGroup();
    QWidget *buildSortButtons();
    QWidget *buildListHeadings();
    QWidget *buildLists();
    void connectControls();
    void placeHeadings();
    void fillInitialLines();

    int selectedWeekday() const;
    int selectedMotor() const;
    int selectedNumber() const; // -1 for the blank item or no selection
    bool hasSelectedEntry() const;
    void setSelectedMotor(int motor);
    void refillGroupItems(int weekday);
    void loadEntry(LoadFrom from);
    void clearValueBoxes();
    void highlightLines(int weekday, int motor);
    void selectFromList(int number, bool numberFromPointer);
    void finishTypedName(bool alsoCopyTarget);
    void syncNamesFromStore();
    void redrawListLines();
    void followUp(FollowUp what);
    QString motorName(int motor) const;
    WeekOverview *weekOverview();

    bool m_tagListShown = false;
    bool m_nameTyped = false;    // the motor box holds typed text, no item is selected
    int m_nameTarget = 0;        // the motor a typed name renames
    int m_pointerX = 0;          // where the pointer last went down in a list
    bool m_startUpDrawPending = false;
    QPointer<WeekOverview> m_weekOverview;
};

} // namespace vandorelle
