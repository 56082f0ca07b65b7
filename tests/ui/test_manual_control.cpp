#include "support/fake_port.h"
#include "ui/dialogs.h"
#include "ui/logbook_tab.h"
#include "ui/main_window.h"
#include "ui/manual_control.h"
#include "ui/manual_tab.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

using namespace vandorelle;

namespace {

// Runs before the window exists: no real port, no message boxes.
struct Headless {
    Headless()
    {
        qputenv("VANDORELLE_COM1", "/nonexistent/vandorelle-test-port");
        ui::dialogHooks().error = [](QWidget *, const QString &) {};
    }
    ~Headless() { ui::resetDialogHooks(); }
};

class ManualControlWindow : public ::testing::Test {
protected:
    ManualControlWindow()
    {
        w.startUp();
        w.session.setPort(&port);
        mc = w.handsteuerung->manual;
        w.Parameter_Maske->setCurrentWidget(w.handsteuerung);
        port.clear();
    }

    QListWidget *hs(int k) { return w.findChild<QListWidget *>(QStringLiteral("HS_%1").arg(k)); }
    QString label(int k) { return w.findChild<QLabel *>(QStringLiteral("HS_%1_Label").arg(k))->text(); }
    QString bankLabel() { return w.findChild<QLabel *>("HS_Bank_Label")->text(); }
    void nextBank(int times = 1)
    {
        for (int i = 0; i < times; ++i)
            w.findChild<QPushButton *>("HS_Bank_next")->click();
    }
    // What a mouse click on an item does.
    void choose(int k, int row)
    {
        hs(k)->setCurrentRow(row);
        emit hs(k)->itemClicked(hs(k)->item(row));
    }
    std::vector<int> rows()
    {
        std::vector<int> r;
        for (int k = 1; k <= 8; ++k)
            r.push_back(hs(k)->currentRow());
        return r;
    }

    Headless headless;
    TQuorvix w;
    test::FakePort port;
    ManualControl *mc = nullptr;
};

const std::vector<int> kAllNeutral(8, ManualStop);

} // namespace

TEST_F(ManualControlWindow, SelectorsCarryTheSymbolItemsAndMotorNames)
{
    for (int k = 1; k <= 8; ++k) {
        QListWidget *list = hs(k);
        ASSERT_NE(list, nullptr) << k;
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->item(0)->data(Qt::UserRole).toString(), QStringLiteral("é"));
        EXPECT_EQ(list->item(1)->data(Qt::UserRole).toString(), QStringLiteral("¡"));
        EXPECT_EQ(list->item(2)->data(Qt::UserRole).toString(), QStringLiteral("ê"));
        EXPECT_EQ(label(k), QStringLiteral("Motor %1").arg(k));
    }
    EXPECT_EQ(rows(), kAllNeutral);
    EXPECT_EQ(bankLabel(), "1");
    EXPECT_EQ(w.findChild<QPushButton *>("HS_Bank_next")->property("symbol").toString(), QStringLiteral("è"));
}

TEST_F(ManualControlWindow, ClickCommandsTheMotorOfTheShownBank)
{
    nextBank();
    EXPECT_EQ(bankLabel(), "2");
    EXPECT_EQ(label(1), "Motor 9");
    choose(1, ManualUp);
    EXPECT_EQ(port.texts(), (QStringList{" rhb9\r", "up\r123\r + sti\r"}));

    // Clicking the chosen item again drives the motor again.
    port.clear();
    emit hs(1)->itemClicked(hs(1)->item(ManualUp));
    EXPECT_EQ(port.texts(), (QStringList{" rhb9\r", "up\r123\r + sti\r"}));
}

TEST_F(ManualControlWindow, ChoiceOfABankSurvivesSwitchingBanks)
{
    nextBank(2);
    choose(1, ManualDown);
    EXPECT_EQ(port.texts(), (QStringList{" rhb17\r", "down\r123\r + sti\r"}));
    nextBank();
    EXPECT_EQ(bankLabel(), "4");
    EXPECT_EQ(hs(1)->currentRow(), ManualStop);
    nextBank(3);
    EXPECT_EQ(bankLabel(), "3");
    EXPECT_EQ(hs(1)->currentRow(), ManualDown);
    EXPECT_EQ(label(1), "Motor 17");
    // Showing a bank sends nothing.
    EXPECT_EQ(port.writes.size(), 2);
}

TEST_F(ManualControlWindow, FourBankPressesReturnToBankOne)
{
    nextBank(4);
    EXPECT_EQ(bankLabel(), "1");
    EXPECT_EQ(label(8), "Motor 8");
}

TEST_F(ManualControlWindow, LeavingTheTabNeutralisesEverything)
{
    nextBank();
    choose(3, ManualDown);
    port.clear();
    w.Parameter_Maske->setCurrentWidget(w.logbuch);
    EXPECT_EQ(port.texts(), QStringList{" rhe\r"});
    EXPECT_EQ(rows(), kAllNeutral);
    EXPECT_EQ(bankLabel(), "1");

    w.Parameter_Maske->setCurrentWidget(w.handsteuerung);
    EXPECT_EQ(rows(), kAllNeutral);
    EXPECT_EQ(bankLabel(), "1");
    EXPECT_EQ(label(1), "Motor 1");
    for (int m = 1; m <= kMotors; ++m)
        EXPECT_EQ(mc->state().choice(m), ManualStop) << m;
}

TEST_F(ManualControlWindow, FocusEnteringTheGroupBoxAnnouncesManualControlOnce)
{
    auto *outside = new QPushButton("x", w.handsteuerung);
    w.show();
    QApplication::setActiveWindow(&w);
    outside->setFocus();
    QApplication::processEvents();
    port.clear();

    hs(3)->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(port.texts(), QStringList{" rhi\r"});
    hs(4)->setFocus(); // moving inside the box is no new entry
    QApplication::processEvents();
    EXPECT_EQ(port.writes.size(), 1);

    outside->setFocus();
    hs(1)->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(port.count(" rhi\r"), 2);
}

TEST_F(ManualControlWindow, KeyboardMoveCommandsLikeAClick)
{
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QApplication::sendEvent(hs(2), &up);
    EXPECT_EQ(hs(2)->currentRow(), ManualUp);
    EXPECT_EQ(port.texts(), (QStringList{" rhb2\r", "up\r123\r + sti\r"}));

    port.clear();
    QApplication::sendEvent(hs(2), &up); // already at the top: nothing moves, nothing sent
    EXPECT_TRUE(port.writes.isEmpty());
}

TEST_F(ManualControlWindow, NewMotorNamesReachTheLabels)
{
    nextBank();
    w.store.MotorNamen[8] = QStringLiteral("Küche");
    emit w.session.followUp(FollowUp::MotorNamen);
    EXPECT_EQ(label(1), QStringLiteral("Küche"));
}
