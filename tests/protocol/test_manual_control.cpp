#include "protocol/manual_control.h"

#include <gtest/gtest.h>

using namespace vandorelle;

namespace {

ManualControlState onBank(int bank)
{
    ManualControlState s;
    s.setBank(bank);
    return s;
}

} // namespace

TEST(ManualControlWrites, SelectorCommandsMotorOfShownBankInTwoWrites)
{
    ManualControlState bank2 = onBank(2);
    EXPECT_EQ(bank2.select(1, ManualUp), (QStringList{" rhb9\r", "up\r123\r + sti\r"}));

    ManualControlState bank1;
    EXPECT_EQ(bank1.select(3, ManualDown), (QStringList{" rhb3\r", "down\r123\r + sti\r"}));
    EXPECT_EQ(bank1.select(3, ManualStop), (QStringList{" rhb3\r", "off\r123\r + sti\r"}));

    ManualControlState bank4 = onBank(4);
    EXPECT_EQ(bank4.select(8, ManualUp).value(0), " rhb32\r");
}

TEST(ManualControlWrites, OutOfRangeSelectionSendsAndChangesNothing)
{
    ManualControlState s;
    EXPECT_TRUE(s.select(0, ManualUp).isEmpty());
    EXPECT_TRUE(s.select(9, ManualUp).isEmpty());
    EXPECT_TRUE(s.select(1, -1).isEmpty());
    EXPECT_TRUE(s.select(1, 3).isEmpty());
    for (int m = 1; m <= kMotors; ++m)
        EXPECT_EQ(s.choice(m), ManualStop);
    EXPECT_TRUE(manualCommandWrite(3).isEmpty());
}

TEST(ManualControlState, ChoicesOfOtherBanksSurviveBankChanges)
{
    ManualControlState s = onBank(3);
    s.select(1, ManualDown);
    EXPECT_EQ(s.choice(17), ManualDown);

    s.nextBank();
    EXPECT_EQ(s.bank(), 4);
    EXPECT_EQ(s.choice(s.motorAt(1)), ManualStop);
    s.nextBank();
    s.nextBank();
    s.nextBank();
    EXPECT_EQ(s.bank(), 3);
    EXPECT_EQ(s.choice(s.motorAt(1)), ManualDown);
}

TEST(ManualControlState, FourBankStepsReturnToBankOne)
{
    ManualControlState s;
    for (int expected : {2, 3, 4, 1}) {
        s.nextBank();
        EXPECT_EQ(s.bank(), expected);
    }
    s.setBank(5); // not a bank: ignored
    EXPECT_EQ(s.bank(), 1);
}

TEST(ManualControlState, ResetNeutralisesEveryMotorAndShowsBankOne)
{
    ManualControlState s = onBank(2);
    s.select(4, ManualUp);
    s.setBank(4);
    s.select(8, ManualDown);
    s.reset();
    EXPECT_EQ(s.bank(), 1);
    for (int m = 1; m <= kMotors; ++m)
        EXPECT_EQ(s.choice(m), ManualStop) << "motor " << m;
}

TEST(ManualSession, EntersBeforeTheFirstCommandAndLeavesOnce)
{
    ManualSession s;
    EXPECT_TRUE(s.leave().isEmpty()); // nothing entered, nothing to leave
    EXPECT_EQ(s.command(3, ManualDown), (QStringList{" rhi\r", " rhb3\r", "down\r123\r + sti\r"}));
    EXPECT_EQ(s.command(32, ManualUp), (QStringList{" rhb32\r", "up\r123\r + sti\r"}));
    EXPECT_EQ(s.leave(), QStringList{" rhe\r"});
    EXPECT_TRUE(s.leave().isEmpty());

    // Out of range: nothing sent, manual control not entered for it.
    EXPECT_TRUE(s.command(0, ManualUp).isEmpty());
    EXPECT_TRUE(s.command(33, ManualUp).isEmpty());
    EXPECT_TRUE(s.command(1, 3).isEmpty());
    EXPECT_FALSE(s.active());

    // After a lost line the controller is entered afresh and there is nothing to leave.
    s.command(1, ManualStop);
    s.forget();
    EXPECT_TRUE(s.leave().isEmpty());
    EXPECT_EQ(s.command(1, ManualStop).value(0), " rhi\r");
}
