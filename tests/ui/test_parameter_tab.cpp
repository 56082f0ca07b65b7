#include "window_fixture.h"

#include "support/fake_port.h"
#include "ui/parameter_tab.h"
#include "ui/schedule_tab.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

using namespace vandorelle;

namespace {

class ParameterTabTest : public test::WindowTest {
protected:
    QString label(const char *name) { return find<QLabel>(name)->text(); }
    QCheckBox *box(int number) { return find<QCheckBox>(QStringLiteral("CheckBox%1").arg(number).toLatin1()); }
    int32_t mask(int bank, int group) { return w->store.GruppenZentralsteuerung[bank - 1][group - 1]; }

    void clickAlarm(int k, int row)
    {
        const QByteArray name = QStringLiteral("AS_%1").arg(k).toLatin1();
        clickLine(name.constData(), row);
    }
};

TEST_F(ParameterTabTest, FreshConfigurationShowsTheStartValues)
{
    enterPage(w->parameter);
    EXPECT_EQ(current("ZufallsZeitspanne"), QStringLiteral("± 30 min"));
    EXPECT_EQ(current("BeschattungsHysterese"), QStringLiteral("10"));
    EXPECT_EQ(current("OffsetAussentemperatur"), QStringLiteral("0 °C"));
    EXPECT_EQ(current("OffsetInnentemperatur"), QStringLiteral("0 °C"));
    EXPECT_EQ(current("Heiz_Hysterese"), QStringLiteral("± 0,3 °C"));
    EXPECT_EQ(find<ReadOnlyBox>("AlarmStatus")->text(), QStringLiteral("Kein Alarm"));
    for (int k = 1; k <= 8; ++k)
        EXPECT_EQ(find<QListWidget>(QStringLiteral("AS_%1").arg(k).toLatin1())->currentRow(), 1) << k;
    EXPECT_FALSE(find<QCheckBox>("Soft_GZS")->isChecked());
}

TEST_F(ParameterTabTest, ParameterBoxesStoreTheirIndex)
{
    enterPage(w->parameter);
    choose("ZufallsZeitspanne", 0);
    choose("BeschattungsHysterese", 48);
    choose("OffsetAussentemperatur", 0);
    choose("OffsetInnentemperatur", 10);
    choose("Heiz_Hysterese", 8);
    const Parameters expected{0, 48, 0, 10, 8};
    EXPECT_EQ(w->store.Parameter, expected);

    find<QCheckBox>("Soft_GZS")->click();
    EXPECT_TRUE(w->store.SoftGZS);

    // Received parameters come back into the boxes.
    w->store.Parameter.ZufallsZeitspanne = 252;
    w->store.SoftGZS = false;
    emit w->session.followUp(FollowUp::Parameters);
    EXPECT_EQ(current("ZufallsZeitspanne"), QStringLiteral("± 254 min"));
    EXPECT_FALSE(find<QCheckBox>("Soft_GZS")->isChecked());
}

TEST_F(ParameterTabTest, AlarmBankArrowCyclesThroughFourBanks)
{
    enterPage(w->parameter);
    press("AS_Bank_next");
    press("AS_Bank_next");
    press("AS_Bank_next");
    EXPECT_EQ(label("AS_Bank_Label"), QStringLiteral("4"));
    EXPECT_EQ(label("AS_1_Label"), QStringLiteral("Motor 25"));
    EXPECT_EQ(label("AS_8_Label"), QStringLiteral("Motor 32"));
    press("AS_Bank_next");
    EXPECT_EQ(label("AS_Bank_Label"), QStringLiteral("1"));
    EXPECT_EQ(label("AS_1_Label"), QStringLiteral("Motor 1"));
}

TEST_F(ParameterTabTest, AlarmListsStoreForTheMotorsOfTheShownBank)
{
    enterPage(w->parameter);
    press("AS_Bank_next");
    clickAlarm(3, 2); // motor 11 down
    clickAlarm(8, 0); // motor 16 up
    EXPECT_EQ(w->store.AlarmPattern[10], 2);
    EXPECT_EQ(w->store.AlarmPattern[15], 0);
    EXPECT_EQ(w->store.AlarmPattern[2], 1);

    // Leaving and entering again always starts at bank 1, with the stored choices shown.
    enterPage(w->schaltzeit);
    enterPage(w->parameter);
    EXPECT_EQ(label("AS_Bank_Label"), QStringLiteral("1"));
    press("AS_Bank_next");
    EXPECT_EQ(find<QListWidget>("AS_3")->currentRow(), 2);

    // A received pattern shows bank 1 again.
    w->store.AlarmPattern[0] = 0;
    emit w->session.followUp(FollowUp::AlarmPattern);
    EXPECT_EQ(label("AS_Bank_Label"), QStringLiteral("1"));
    EXPECT_EQ(find<QListWidget>("AS_1")->currentRow(), 0);
}

TEST_F(ParameterTabTest, AlarmChoiceMovedByKeyboardIsStoredLikeAClick)
{
    enterPage(w->parameter);
    press("AS_Bank_next");
    QListWidget *list = find<QListWidget>("AS_2"); // motor 10
    ASSERT_EQ(list->currentRow(), 1);
    auto key = [list](Qt::Key k, bool repeat = false) {
        QKeyEvent event(QEvent::KeyPress, k, Qt::NoModifier, QString(), repeat);
        QApplication::sendEvent(list, &event);
    };
    key(Qt::Key_Down);
    EXPECT_EQ(w->store.AlarmPattern[9], 2);
    key(Qt::Key_Home);
    EXPECT_EQ(w->store.AlarmPattern[9], 0);
    // A held key at the end of the list changes nothing, in the list or in the store.
    w->store.AlarmPattern[9] = 7;
    key(Qt::Key_Up, true);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(w->store.AlarmPattern[9], 7);
    EXPECT_EQ(w->store.AlarmPattern[1], 1);
}

TEST_F(ParameterTabTest, GroupTicksAreStoredPerBankAndComeBack)
{
    enterPage(w->parameter);
    press("GZ_Bank_next");
    EXPECT_EQ(label("GZ_Bank_Label"), QStringLiteral("2"));
    EXPECT_EQ(box(1)->text(), QStringLiteral("Motor 9"));
    box(11)->click(); // "Gruppe 2", row 3
    press("GZ_Bank_next");
    EXPECT_EQ(mask(2, 2), 4);
    EXPECT_EQ(mask(2, 1), 0);
    EXPECT_FALSE(box(11)->isChecked()); // bank 3 has no members

    press("GZ_Bank_next");
    press("GZ_Bank_next");
    press("GZ_Bank_next");
    EXPECT_EQ(label("GZ_Bank_Label"), QStringLiteral("2"));
    EXPECT_TRUE(box(11)->isChecked());
    for (int n = 1; n <= 32; ++n) {
        if (n != 11) {
            EXPECT_FALSE(box(n)->isChecked()) << n;
        }
    }
}

TEST_F(ParameterTabTest, LeavingTheTabStoresTheTicksOfTheShownBank)
{
    enterPage(w->parameter);
    box(1)->click();  // group 1, motor 1
    box(32)->click(); // group 4, motor 8
    enterPage(w->schaltzeit);
    EXPECT_EQ(mask(1, 1), 1);
    EXPECT_EQ(mask(1, 4), 128);
}

TEST_F(ParameterTabTest, ReceivedGroupsTickTheBoxesOfTheShownBank)
{
    enterPage(w->parameter);
    w->store.GruppenZentralsteuerung[0][2] = 0x81; // group 3: motors 1 and 8
    emit w->session.followUp(FollowUp::Gruppen);
    EXPECT_TRUE(box(17)->isChecked());
    EXPECT_TRUE(box(24)->isChecked());
    EXPECT_FALSE(box(18)->isChecked());
}

TEST_F(ParameterTabTest, CaptionsFollowTheShownGroupBankOnEntering)
{
    enterPage(w->parameter);
    press("GZ_Bank_next");
    press("GZ_Bank_next"); // bank 3
    enterPage(w->schaltzeit);
    w->store.MotorNamen[16] = QStringLiteral("Küche");
    enterPage(w->parameter);
    EXPECT_EQ(label("GZ_Bank_Label"), QStringLiteral("3"));
    EXPECT_EQ(box(1)->text(), QStringLiteral("Küche"));
    EXPECT_EQ(box(8)->text(), QStringLiteral("Motor 24"));
}

TEST_F(ParameterTabTest, MaxWindClickAsksTheControllerToResetItsMaximum)
{
    test::FakePort port;
    w->session.setPort(&port);
    const int32_t before = w->session.TxCount;
    const QString shown = find<ReadOnlyBox>("MaxWind")->text();
    press("MaxWind");
    EXPECT_EQ(port.texts(), QStringList{QStringLiteral("swl")});
    EXPECT_EQ(w->session.TxCount, before + 3);
    EXPECT_EQ(find<ReadOnlyBox>("MaxWind")->text(), shown);
    w->session.setPort(nullptr);
}

TEST_F(ParameterTabTest, TimeSignalButtonStartsTheReception)
{
    test::FakePort port;
    w->session.setPort(&port);
    auto *button = find<QPushButton>("DCF77Button");
    EXPECT_FALSE(button->text().isEmpty());
    enterPage(w->parameter);
    button->click();
    EXPECT_TRUE(port.texts().contains(QStringLiteral(" sdr")));
    EXPECT_TRUE(w->DCF77_LED_Timer->isActive());
    EXPECT_FALSE(w->Timer1->isActive());

    enterPage(w->schaltzeit); // leaving the page ends it
    EXPECT_FALSE(w->DCF77_LED_Timer->isActive());
    EXPECT_TRUE(w->Timer1->isActive());
    w->session.setPort(nullptr);
}

} // namespace
