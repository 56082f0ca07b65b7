#include "protocol/manual_control.h"

#include <utility>

namespace vandorelle {

QString manualMotorWrite(int motor)
{
    return QStringLiteral(" rhb") + QString::number(motor) + QLatin1Char('\r');
}

QString manualCommandWrite(int32_t choice)
{
    static const char *const kWords[] = {"up", "off", "down"};
    if (choice < ManualUp || choice > ManualDown)
        return {};
    return QString::fromLatin1(kWords[choice]) + QStringLiteral("\r123\r + sti\r");
}

void ManualControlState::nextBank()
{
    m_bank = m_bank >= kBanks ? 1 : m_bank + 1;
}

void ManualControlState::setBank(int bank)
{
    if (bank >= 1 && bank <= kBanks)
        m_bank = bank;
}

QStringList ManualControlState::select(int selector, int32_t choice)
{
    if (selector < 1 || selector > kSelectors || choice < ManualUp || choice > ManualDown)
        return {};
    const int motor = motorAt(selector);
    m_choices[motor - 1] = choice;
    return {manualMotorWrite(motor), manualCommandWrite(choice)};
}

void ManualControlState::reset()
{
    m_choices.fill(ManualStop);
    m_bank = 1;
}

QStringList ManualSession::command(int motor, int32_t choice)
{
    const QString word = manualCommandWrite(choice);
    if (motor < 1 || motor > kMotors || word.isEmpty())
        return {};
    QStringList writes;
    if (!m_active)
        writes << kManualEnterWrite;
    m_active = true;
    writes << manualMotorWrite(motor) << word;
    return writes;
}

QStringList ManualSession::leave()
{
    if (!std::exchange(m_active, false))
        return {};
    return {kManualExitWrite};
}

} // namespace vandorelle
