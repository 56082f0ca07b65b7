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

} // namespace vandorelle
