#include "config/schedule_lines.h"
#include "config/schedule_rules.h"
#include "ui/day_bar.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/schedule_controls.h"
#include "ui/schedule_tab.h"
#include "ui/week_overview.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace vandorelle;
using schedule::slot;

namespace {

enum Day { Mo, Di, Mi, Do, Fr, Sa, So };

// Set before the window exists: no real port, and the port error is answered.
struct NoPort {
    NoPort()
    {
        qputenv("VANDORELLE_COM1", "/nonexistent/vandorelle-schedule-test");
        ui::dialogHooks().error = [](auto *, auto &) {};
    }
    ~NoPort() { ui::resetDialogHooks(); }
};

class ScheduleTab : public ::testing::Test {
protected:
    ScheduleTab()
    {
        w.startUp();
        w.show();
        QApplication::processEvents();
        tab = w.schaltzeit;
    }

    template <typename T>
    T *find(const char *name)
    {
        T *widget = w.findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QComboBox *box(const char *name) { return find<QComboBox>(name); }
    QListWidget *list(const char *name) { return find<QListWidget>(name); }

    // The user picks an item: the click, then the change.
    void choose(const char *name, int index)
    {
        QComboBox *b = box(name);
        b->setCurrentIndex(index);
        emit b->activated(index);
    }
    void chooseEntry(int day, int motor, int number)
    {
        choose("CB_Wochentag", day);
        choose("CB_Raum", motor);
        choose("CB_Schaltzeit_Nr", number);
    }

    void mouse(QListWidget *l, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
    {
        QMouseEvent e(type, at, l->viewport()->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(l->viewport(), &e);
    }
    // x is counted from the list's left edge, as the editor remembers it.
    void clickLine(QListWidget *l, int row, int x, bool doubleClick = false)
    {
        QApplication::processEvents();
        l->scrollToItem(l->item(row));
        const QRect r = l->visualItemRect(l->item(row));
        const QPoint at(x - l->viewport()->x(), r.center().y());
        mouse(l, QEvent::MouseButtonPress, at, Qt::LeftButton);
        mouse(l, QEvent::MouseButtonRelease, at, Qt::NoButton);
        if (doubleClick) {
            mouse(l, QEvent::MouseButtonDblClick, at, Qt::LeftButton);
            mouse(l, QEvent::MouseButtonRelease, at, Qt::NoButton);
        }
    }
    // Pointer x in the middle of time column `number` of a list of the current width.
    int columnX(int number)
    {
        const int width = list("DatenListe_Tag")->width();
        const int name = int(std::nearbyint(width * 0.23));
        return name + number * (width - name) / 8;
    }

    void typeIntoMotorBox(const QString &text)
    {
        auto *raum = box("CB_Raum");
        raum->setFocus();
        raum->lineEdit()->selectAll();
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(raum, &press);
        }
    }
    void pressKey(QWidget *target, int key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
    }

    SchaltzeitEntry &entry(int day, int motor, int number) { return w.store.Schaltzeit[slot(day, motor, number)]; }
    QString panel6() const { return w.status.panel(StatusModel::Activity); }

    NoPort noPort;
    TQuorvix w;
    SchaltzeitTab *tab = nullptr;
};

} // namespace

TEST_F(ScheduleTab, StartsOnMondayMotorOneWithTheMotorListAndFirstLines)
{
    EXPECT_EQ(box("CB_Wochentag")->currentText(), QStringLiteral("Mo"));
    EXPECT_EQ(box("CB_Raum")->currentText(), QStringLiteral("Motor 1"));
    EXPECT_EQ(box("CB_Raum")->count(), 32);
    EXPECT_EQ(box("CB_Copy_Raum")->currentIndex(), 0);
    EXPECT_EQ(box("CB_Schaltzeit_Nr")->count(), 9);
    EXPECT_EQ(box("CB_Schaltzeit_Nr")->currentText(), QStringLiteral("1"));
    EXPECT_EQ(box("CB_Up_Down")->currentIndex(), 0);
    EXPECT_EQ(box("CB_Schaltzeit")->count(), 1441);
    EXPECT_EQ(box("CB_Schaltzeit")->currentText(), QStringLiteral("     "));
    EXPECT_EQ(box("CB_Dauer")->count(), 127);
    EXPECT_EQ(box("CB_Dauer")->currentText(), QStringLiteral("39s"));
    EXPECT_EQ(box("CB_Gruppe")->currentText(), QStringLiteral("-"));
    EXPECT_EQ(box("CB_Funktion")->currentText(), QStringLiteral("-"));
    EXPECT_EQ(find<QLabel>("copy_from_label")->text(), QStringLiteral("Motor 1"));

    EXPECT_TRUE(list("DatenListe_Motor")->isVisible());
    EXPECT_FALSE(list("DatenListe_Tag")->isVisible());
    EXPECT_EQ(list("DatenListe_Tag")->count(), 230);
    EXPECT_EQ(list("DatenListe_Motor")->count(), 255);
    EXPECT_EQ(list("DatenListe_Tag")->item(0)->text(), QStringLiteral("Mo  Motor 1 "));
    EXPECT_EQ(list("DatenListe_Motor")->item(1)->text(), QStringLiteral("Di  Motor 1"));
    EXPECT_EQ(panel6(), QStringLiteral("Freier Schaltzeiten-Speicher: 100%"));
    EXPECT_FALSE(w.Speicherplatz_Label->isVisible());
}

TEST_F(ScheduleTab, StartUpDrawsTheBarsButNotTheLists)
{
    // The window refreshes every page at start-up once the port is open.
    TQuorvix other;
    other.startUp();
    other.store.Schaltzeit[0].Zeit = timeCode(6, 0);
    other.schaltzeit->refresh();
    auto *motorList = other.findChild<QListWidget *>(QStringLiteral("DatenListe_Motor"));
    EXPECT_EQ(motorList->item(0)->text(), QStringLiteral("Mo  Motor 1"));
    EXPECT_EQ(other.findChild<DayBar *>(QStringLiteral("DayBar"))->segments()[1].caption, QStringLiteral("06:00"));

    // Later refreshes (file load, end of a read) draw everything.
    QApplication::processEvents();
    other.schaltzeit->refresh();
    EXPECT_EQ(motorList->item(0)->text().left(25), QStringLiteral("Mo  Motor 1         06:00"));
}

TEST_F(ScheduleTab, ChoosingATimeStoresItAndRedrawsListsBarAndMemoryInPlace)
{
    chooseEntry(Mo, 0, 0);
    QListWidgetItem *lineItem = list("DatenListe_Motor")->item(0);
    choose("CB_Schaltzeit", timeCode(7, 30));
    chooseEntry(Mo, 0, 1);
    choose("CB_Up_Down", 1);
    choose("CB_Schaltzeit", timeCode(20, 15));

    EXPECT_EQ(entry(Mo, 0, 0), (SchaltzeitEntry{0, timeCode(7, 30), 39, 1, 0, 1}));
    EXPECT_EQ(entry(Mo, 0, 1), (SchaltzeitEntry{1, timeCode(20, 15), 39, 1, 0, 1}));
    const QString expected = QStringLiteral("Mo  Motor 1         07:30 ^ |  20:15 v |  ")
        + QStringLiteral("        |  ").repeated(6);
    EXPECT_EQ(list("DatenListe_Motor")->item(0), lineItem) << "lines are replaced, not rebuilt";
    EXPECT_EQ(lineItem->text(), expected);
    EXPECT_EQ(list("DatenListe_Tag")->item(0)->text(), expected);
    EXPECT_EQ(list("DatenListe_Motor")->item(7)->text(), schedule::separatorLine());
    EXPECT_EQ(panel6(), QStringLiteral("Freier Schaltzeiten-Speicher: 99%"));

    const auto &bar = find<DayBar>("DayBar")->segments();
    EXPECT_EQ(bar[1].caption, QStringLiteral("07:30"));
    EXPECT_EQ(bar[2].caption, QStringLiteral("20:15"));
    EXPECT_EQ(bar[2].left + bar[2].width, 640);
    EXPECT_EQ(find<QLabel>("Tag_und_Motor")->text(), QStringLiteral("Mo, Motor 1"));
}

TEST_F(ScheduleTab, ChangeMarksOnlyTheSelectedDayForSending)
{
    w.store.clearAllPending();
    chooseEntry(Di, 3, 2);
    choose("CB_Funktion", 1);
    EXPECT_EQ(entry(Di, 3, 2).Senden, 1);
    EXPECT_EQ(entry(Di, 3, 2).Funktion, 1);
    EXPECT_EQ(entry(Mi, 3, 2).Senden, 0);
    EXPECT_EQ(entry(Di, 3, 3).Senden, 0);
}

TEST_F(ScheduleTab, WeekdayGroupsThroughTheGroupBox)
{
    chooseEntry(Mi, 2, 0);
    choose("CB_Schaltzeit", timeCode(6, 45));
    choose("CB_Gruppe", 1); // "Mo - Fr"
    for (int d = Mo; d <= Fr; ++d)
        EXPECT_EQ(entry(d, 2, 0).Gruppe, 5) << d;
    EXPECT_FALSE(entry(Sa, 2, 0).inUse());

    choose("CB_Wochentag", Sa);
    EXPECT_EQ(box("CB_Gruppe")->itemText(1), QStringLiteral("Sa - So"));
    // No Saturday entry: shown as single; a Monday-to-Friday entry viewed on Saturday shows item 1.
    EXPECT_EQ(box("CB_Gruppe")->currentIndex(), 0);
    entry(Sa, 2, 0).Gruppe = 5;
    choose("CB_Wochentag", Sa);
    EXPECT_EQ(box("CB_Gruppe")->currentText(), QStringLiteral("Sa - So"));

    choose("CB_Wochentag", Mo);
    EXPECT_EQ(box("CB_Gruppe")->itemText(1), QStringLiteral("Mo - Fr"));
    choose("CB_Gruppe", 2); // "Mo - So" from Monday, then a new time on Saturday
    chooseEntry(Sa, 2, 0);
    EXPECT_EQ(box("CB_Gruppe")->currentText(), QStringLiteral("Mo - So"));
    choose("CB_Schaltzeit", timeCode(9, 0));
    for (int d = Mo; d <= So; ++d) {
        EXPECT_EQ(entry(d, 2, 0).Zeit, timeCode(9, 0)) << d;
        EXPECT_EQ(entry(d, 2, 0).Gruppe, 7) << d;
    }
}

TEST_F(ScheduleTab, DoubleClickInTheMotorListDeletesAWholeGroup)
{
    chooseEntry(Do, 1, 4);
    choose("CB_Schaltzeit", timeCode(18, 0));
    choose("CB_Gruppe", 2);
    ASSERT_TRUE(entry(So, 1, 4).inUse());

    auto *motorList = list("DatenListe_Motor");
    clickLine(motorList, 8 + Di, columnX(4), /*doubleClick=*/true);
    EXPECT_EQ(box("CB_Schaltzeit_Nr")->currentIndex(), 4);
    for (int d = Mo; d <= So; ++d)
        EXPECT_FALSE(entry(d, 1, 4).inUse()) << d;
    EXPECT_EQ(panel6(), QStringLiteral("Freier Schaltzeiten-Speicher: 100%"));
}

TEST_F(ScheduleTab, ListClicksSelectWeekdayMotorAndNumberFromThePointer)
{
    entry(Fr, 5, 2) = {1, timeCode(12, 0), 100, 1, 2, 1};
    auto *motorList = list("DatenListe_Motor");
    clickLine(motorList, 5 * 8 + Fr, columnX(2));
    EXPECT_EQ(box("CB_Wochentag")->currentIndex(), Fr);
    EXPECT_EQ(box("CB_Raum")->currentIndex(), 5);
    EXPECT_EQ(box("CB_Schaltzeit_Nr")->currentIndex(), 2);
    EXPECT_EQ(box("CB_Up_Down")->currentIndex(), 1);
    EXPECT_EQ(box("CB_Schaltzeit")->currentText(), QStringLiteral("12:00"));
    EXPECT_EQ(box("CB_Dauer")->currentText(), QStringLiteral("100"));
    EXPECT_EQ(box("CB_Funktion")->currentText(), QStringLiteral("Zufall"));
    EXPECT_EQ(find<QLabel>("copy_from_label")->text(), QStringLiteral("Motor 6"));
    EXPECT_EQ(list("DatenListe_Tag")->currentRow(), Fr * 33 + 5);

    // A separator selects the line below it; the name column gives number 1.
    clickLine(motorList, 15, 10);
    EXPECT_EQ(motorList->currentRow(), 16);
    EXPECT_EQ(box("CB_Raum")->currentIndex(), 2);
    EXPECT_EQ(box("CB_Wochentag")->currentIndex(), Mo);
    EXPECT_EQ(box("CB_Schaltzeit_Nr")->currentIndex(), 0);

    find<QPushButton>("TagButton")->click();
    EXPECT_TRUE(list("DatenListe_Tag")->isVisible());
    EXPECT_FALSE(motorList->isVisible());
    clickLine(list("DatenListe_Tag"), 32, columnX(7));
    EXPECT_EQ(box("CB_Wochentag")->currentIndex(), Di);
    EXPECT_EQ(box("CB_Raum")->currentIndex(), 0);
    EXPECT_EQ(box("CB_Schaltzeit_Nr")->currentIndex(), 7);
    find<QPushButton>("MotorButton")->click();
    EXPECT_TRUE(motorList->isVisible());
}

TEST_F(ScheduleTab, ListClickShowsAGroupForeignToTheDayAsNoGroupAndStoresNothing)
{
    entry(Sa, 0, 0) = {0, timeCode(8, 0), 39, 5, 0, 0};
    clickLine(list("DatenListe_Motor"), Sa, columnX(0));
    EXPECT_EQ(box("CB_Gruppe")->currentIndex(), -1);
    choose("CB_Schaltzeit", timeCode(10, 0));
    EXPECT_EQ(entry(Sa, 0, 0).Zeit, timeCode(8, 0));
}

TEST_F(ScheduleTab, SmallModelsFallBackToMotorOneAndNumberOne)
{
    w.session.flags.BankModel = false;
    w.session.flags.EightEntries = false;
    chooseEntry(Di, 9, 5);
    EXPECT_EQ(box("CB_Raum")->currentIndex(), 0);
    EXPECT_EQ(find<QLabel>("copy_from_label")->text(), QStringLiteral("Motor 1"));
    EXPECT_EQ(box("CB_Schaltzeit_Nr")->currentIndex(), 0);

    // By list: motor 10 falls back to Monday, motor 1; a far right click is number 4.
    list("DatenListe_Tag")->setFixedWidth(447);
    list("DatenListe_Motor")->setFixedWidth(447);
    find<QPushButton>("TagButton")->click();
    clickLine(list("DatenListe_Tag"), 33 + 9, 420);
    EXPECT_EQ(box("CB_Raum")->currentIndex(), 0);
    EXPECT_EQ(box("CB_Wochentag")->currentIndex(), Mo);
    EXPECT_EQ(list("DatenListe_Tag")->currentRow(), 0);
    EXPECT_EQ(box("CB_Schaltzeit_Nr")->currentIndex(), 3);
}

TEST_F(ScheduleTab, TheBlankNumberAddressesNoEntry)
{
    chooseEntry(Mo, 0, 8);
    EXPECT_EQ(box("CB_Schaltzeit")->currentIndex(), -1);
    EXPECT_EQ(box("CB_Gruppe")->currentIndex(), -1);
    const ConfigStore before = w.store;
    box("CB_Gruppe")->setCurrentIndex(0);
    choose("CB_Schaltzeit", 100);
    choose("CB_Funktion", 2);
    EXPECT_EQ(w.store, before);
}

TEST_F(ScheduleTab, EnterRenamesTheMotorEverywhere)
{
    choose("CB_Raum", 2);
    typeIntoMotorBox(QStringLiteral("Schlafzimmer Nord"));
    EXPECT_EQ(w.store.MotorNamen[2], QStringLiteral("Motor 3")) << "nothing happens while typing";
    pressKey(box("CB_Raum"), Qt::Key_Return);

    EXPECT_EQ(w.store.MotorNamen[2], QStringLiteral("Schlafzimmer Nord"));
    EXPECT_EQ(box("CB_Raum")->itemText(2), QStringLiteral("Schlafzimmer Nord"));
    EXPECT_EQ(box("CB_Raum")->currentIndex(), 2);
    EXPECT_EQ(box("CB_Copy_Raum")->itemText(2), QStringLiteral("Schlafzimmer Nord"));
    EXPECT_EQ(find<QLabel>("copy_from_label")->text(), QStringLiteral("Schlafzimmer Nord"));
    EXPECT_EQ(list("DatenListe_Motor")->item(16)->text().left(20), QStringLiteral("Mo  Schlafzimmer    "));
    EXPECT_EQ(list("DatenListe_Tag")->item(33 * 4 + 2)->text().left(20), QStringLiteral("Fr  Schlafzimmer    "));
    EXPECT_EQ(box("CB_Wochentag")->currentIndex(), Mo);
}

TEST_F(ScheduleTab, LeavingTheBoxRenamesOpeningItsListLeavesTheCopyTargetAlone)
{
    choose("CB_Raum", 4);
    typeIntoMotorBox(QStringLiteral("Bad"));
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box("CB_Raum"), &out);
    EXPECT_EQ(box("CB_Copy_Raum")->itemText(4), QStringLiteral("Bad"));

    typeIntoMotorBox(QStringLiteral("Gäste-WC"));
    box("CB_Raum")->showPopup();
    box("CB_Raum")->hidePopup();
    EXPECT_EQ(w.store.MotorNamen[4], QStringLiteral("Gäste-WC"));
    EXPECT_EQ(box("CB_Raum")->itemText(4), QStringLiteral("Gäste-WC"));
    EXPECT_EQ(box("CB_Copy_Raum")->itemText(4), QStringLiteral("Bad"));
    EXPECT_EQ(list("DatenListe_Motor")->item(32)->text().left(12), QStringLiteral("Mo  Gäste-WC"));
}

TEST_F(ScheduleTab, ATypedNameRenamesTheMotorShownEvenWhenAListClickChoseIt)
{
    choose("CB_Raum", 1);
    clickLine(list("DatenListe_Motor"), 6 * 8, 10);
    ASSERT_EQ(box("CB_Raum")->currentIndex(), 6);
    typeIntoMotorBox(QStringLiteral("Büro"));
    pressKey(box("CB_Raum"), Qt::Key_Return);
    EXPECT_EQ(w.store.MotorNamen[6], QStringLiteral("Büro"));
    EXPECT_EQ(w.store.MotorNamen[1], QStringLiteral("Motor 2"));
}

TEST_F(ScheduleTab, NamesRefuseCharactersTheControllerCannotCarry)
{
    choose("CB_Raum", 0);
    typeIntoMotorBox(QStringLiteral("Bad\u2603"));
    EXPECT_EQ(box("CB_Raum")->currentText(), QStringLiteral("Bad"));
    pressKey(box("CB_Raum"), Qt::Key_Return);
    EXPECT_EQ(w.store.MotorNamen[0], QStringLiteral("Bad"));
    EXPECT_FALSE(MotorNameComboBox::refusedNameHint().isEmpty());
}

TEST_F(ScheduleTab, CopyingMotorOneOntoTwoReplacesAndMarksItsWeek)
{
    chooseEntry(Mo, 0, 0);
    choose("CB_Schaltzeit", timeCode(7, 0));
    choose("CB_Gruppe", 2);
    entry(Mi, 1, 5) = {1, timeCode(22, 0), 10, 1, 1, 0};
    w.store.clearAllPending();

    choose("CB_Copy_Raum", 1);
    int marked = 0;
    for (int d = Mo; d <= So; ++d) {
        for (int n = 0; n < kEntries; ++n) {
            marked += entry(d, 1, n).Senden;
            EXPECT_EQ(entry(d, 1, n).Zeit, entry(d, 0, n).Zeit) << d << "/" << n;
            EXPECT_EQ(entry(d, 0, n).Senden, 0) << "the source stays as it was";
        }
    }
    EXPECT_EQ(marked, 56);
    EXPECT_EQ(list("DatenListe_Motor")->item(8 + So)->text().mid(20, 11), QStringLiteral("07:00 ^ |  "));
    EXPECT_EQ(box("CB_Raum")->currentIndex(), 0);
    EXPECT_EQ(panel6(), QStringLiteral("Freier Schaltzeiten-Speicher: 99%"));
}

TEST_F(ScheduleTab, WithoutBanksACopyTargetAboveEightCopiesOntoTheSourceItself)
{
    w.session.flags.BankModel = false;
    chooseEntry(Mo, 3, 0);
    choose("CB_Schaltzeit", timeCode(7, 0));
    w.store.clearAllPending();
    const ConfigStore before = w.store;
    choose("CB_Copy_Raum", 12);
    EXPECT_EQ(box("CB_Copy_Raum")->currentIndex(), 3);
    for (int i = 0; i < kScheduleSize; ++i) {
        const bool ofSource = (i / 8) % 32 == 3;
        EXPECT_EQ(w.store.Schaltzeit[i].Zeit, before.Schaltzeit[i].Zeit);
        EXPECT_EQ(w.store.Schaltzeit[i].Senden, ofSource ? 1 : 0) << i;
    }
}

TEST_F(ScheduleTab, MemoryWarningAppearsWhenTheControllerIsFull)
{
    for (int i = 0; i < 240; ++i)
        w.store.Schaltzeit[i].Zeit = 1 + i;
    tab->redrawAll();
    EXPECT_EQ(panel6(), QStringLiteral("Freier Schaltzeiten-Speicher: 0%"));
    EXPECT_TRUE(w.Speicherplatz_Label->isVisible());
    w.store.Schaltzeit[241].Zeit = 5;
    w.store.Schaltzeit[242].Zeit = 5;
    w.store.Schaltzeit[243].Zeit = 5;
    tab->redrawAll();
    EXPECT_EQ(panel6(), QStringLiteral("Freier Schaltzeiten-Speicher: -1%"));

    for (int i = 0; i < 10; ++i)
        w.store.Schaltzeit[i].Zeit = 0;
    tab->redrawAll();
    EXPECT_EQ(panel6(), QStringLiteral("Freier Schaltzeiten-Speicher: 2%"));
    EXPECT_FALSE(w.Speicherplatz_Label->isVisible());
}

TEST_F(ScheduleTab, ReadAllShowsProgressAndEndsOnMondayMotorOne)
{
    chooseEntry(Mi, 4, 3);
    tab->prepareForRead();
    for (const char *name : {"CB_Wochentag", "CB_Raum", "CB_Schaltzeit_Nr", "CB_Up_Down", "CB_Schaltzeit",
                             "CB_Dauer", "CB_Gruppe", "CB_Funktion"})
        EXPECT_EQ(box(name)->currentIndex(), -1) << name;
    EXPECT_EQ(list("DatenListe_Tag")->item(0)->text(), QString());
    EXPECT_EQ(list("DatenListe_Tag")->item(6)->text(), QStringLiteral("     Lese Daten von Steuerung ..."));
    EXPECT_EQ(list("DatenListe_Motor")->item(63)->text(), QString());
    EXPECT_EQ(list("DatenListe_Motor")->item(64)->text(), QStringLiteral("Mo  Motor 9"));

    // Choices made meanwhile address nothing.
    const ConfigStore before = w.store;
    choose("CB_Schaltzeit", 10);
    choose("CB_Wochentag", Di);
    EXPECT_EQ(w.store, before);

    w.session.readAllRunning = true;
    emit w.session.readProgressLine(QStringLiteral("    Lese Daten von Steuerung ... Motor-Namen"));
    EXPECT_EQ(list("DatenListe_Motor")->item(6)->text(), QStringLiteral("    Lese Daten von Steuerung ... Motor-Namen"));
    w.store.MotorNamen[0] = QStringLiteral("Terrasse");
    emit w.session.followUp(FollowUp::MotorNamen);
    emit w.session.followUp(FollowUp::Schedule);
    EXPECT_EQ(box("CB_Raum")->itemText(0), QStringLiteral("Terrasse"));
    EXPECT_EQ(box("CB_Copy_Raum")->itemText(0), QStringLiteral("Terrasse"));
    EXPECT_EQ(list("DatenListe_Motor")->item(6)->text(), QStringLiteral("    Lese Daten von Steuerung ... Motor-Namen"));

    w.store.Schaltzeit[slot(Mo, 0, 0)].Zeit = timeCode(6, 0);
    w.session.readAllRunning = false;
    tab->finishRead();
    EXPECT_EQ(box("CB_Wochentag")->currentIndex(), Mo);
    EXPECT_EQ(box("CB_Raum")->currentText(), QStringLiteral("Terrasse"));
    EXPECT_EQ(box("CB_Copy_Raum")->currentIndex(), 0);
    EXPECT_EQ(box("CB_Schaltzeit_Nr")->currentIndex(), 0);
    EXPECT_EQ(box("CB_Schaltzeit")->currentText(), QStringLiteral("06:00"));
    EXPECT_EQ(find<QLabel>("copy_from_label")->text(), QStringLiteral("Terrasse"));
    EXPECT_EQ(list("DatenListe_Motor")->item(0)->text().left(25), QStringLiteral("Mo  Terrasse        06:00"));
}

TEST_F(ScheduleTab, ReceivedNamesReachBothBoxesAndTheLines)
{
    tab->redrawAll();
    w.store.MotorNamen[31] = QStringLiteral("Garage");
    emit w.session.followUp(FollowUp::MotorNamen);
    EXPECT_EQ(box("CB_Raum")->itemText(31), QStringLiteral("Garage"));
    EXPECT_EQ(box("CB_Copy_Raum")->itemText(31), QStringLiteral("Garage"));
    EXPECT_EQ(list("DatenListe_Motor")->item(254)->text().left(10), QStringLiteral("So  Garage"));
}

TEST_F(ScheduleTab, KeyboardMovesInTheListLoadTheLineBelow)
{
    entry(Di, 0, 0) = {1, timeCode(5, 0), 39, 1, 0, 1};
    auto *motorList = list("DatenListe_Motor");
    clickLine(motorList, 0, columnX(0));
    motorList->setFocus();
    pressKey(motorList, Qt::Key_Down);
    EXPECT_EQ(box("CB_Wochentag")->currentIndex(), Di);
    EXPECT_EQ(box("CB_Schaltzeit")->currentText(), QStringLiteral("05:00"));
}

TEST_F(ScheduleTab, HeatingWeekOverviewFollowsTheStoreAndItsSelection)
{
    WeekOverview overview(w.store);
    overview.draw({0, false, false});
    EXPECT_TRUE(overview.isHidden());
    entry(Sa, 0, 0) = {0, timeCode(6, 0), 39, 1, 0, 1};
    overview.draw({0, true, false});
    EXPECT_FALSE(overview.isHidden());
    const auto &row = overview.row(Sa)->segments();
    EXPECT_EQ(row[0].left, 4);
    EXPECT_EQ(row[1].left + row[1].width, 605);
    EXPECT_EQ(overview.row(Sa)->colourOf(row[1]), QColor(Qt::red));
    overview.draw({0, true, true});
    EXPECT_EQ(overview.row(Sa)->colourOf(row[1]), QColor(Qt::cyan));
    entry(Sa, 0, 0).Richtung = 1;
    overview.redraw();
    EXPECT_EQ(overview.row(Sa)->segments()[1].state, schedule::BarState::Down);

    // The schedule page redraws the heating tab's overview after a store.
    auto *onPage = w.findChild<WeekOverview *>(QStringLiteral("WochenUebersicht"));
    ASSERT_NE(onPage, nullptr);
    chooseEntry(Do, 0, 0);
    choose("CB_Schaltzeit", timeCode(13, 0));
    EXPECT_EQ(onPage->selection().motor, 0);
    EXPECT_EQ(onPage->row(Do)->segments()[1].caption, QStringLiteral("13:00"));
}
