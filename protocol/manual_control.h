#pragma once

#include "config/store.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

namespace vandorelle {

// Choices of a manual selector; the value is the item index of its list box.
enum ManualChoice : int32_t {
    ManualUp = 0,
    ManualStop = 1,
    ManualDown = 2,
};

inline const QString kManualEnterWrite = QStringLiteral(" rhi\r");
inline const QString kManualExitWrite = QStringLiteral(" rhe\r");

// " rhb" + motor + CR: selects the motor the next command drives.
QString manualMotorWrite(int motor);
// Command word + CR + "123" + CR + " + sti" + CR; empty for a choice outside 0..2.
QString manualCommandWrite(int32_t choice);

// What the PC remembers of manual control: the last choice sent per motor and the bank shown.
class ManualControlState {
public:
    static constexpr int kSelectors = 8;

    ManualControlState() { reset(); }

    int bank() const { return m_bank; }
    void nextBank(); // 1 after 4
    void setBank(int bank);

    // Motor 1..32 under selector 1..8 of the shown bank.
    int motorAt(int selector) const { return kSelectors * (m_bank - 1) + selector; }
    int32_t choice(int motor) const { return m_choices.at(motor - 1); }

    // Records the choice for the selector's motor and returns the two writes that command it,
    // each to go out as one write. Nothing changes for a selector or choice out of range.
    QStringList select(int selector, int32_t choice);

    // Every motor on stop, bank 1.
    void reset();

private:
    std::array<int32_t, kMotors> m_choices{};
    int m_bank = 1;
};

// Manual control driven without the tab, as a user at the tab would drive it: manual control is
// entered before the first command and left once the commands are over. Only the writes; when
// the commands are over is the caller's to decide.
class ManualSession {
public:
    bool active() const { return m_active; }

    // The writes that command the motor, each to go out as one write: " rhi\r" first when manual
    // control is not entered yet. Empty for a motor or choice out of range.
    QStringList command(int motor, int32_t choice);
    // " rhe\r" when manual control is entered, else nothing.
    QStringList leave();
    // The line went away: the controller may come back in any state, so the next command
    // enters manual control afresh, and nothing is left that could be sent.
    void forget() { m_active = false; }

private:
    bool m_active = false;
};

} // namespace vandorelle
