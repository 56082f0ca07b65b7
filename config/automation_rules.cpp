#include "config/automation_rules.h"

#include "config/automation_items.h"
#include "config/run_time_items.h"

namespace vandorelle {

CodePair shadingStartChosen(int32_t von, int32_t bis)
{
    if (von >= bis)
        bis = von + 1;
    if (von >= 16) {
        von = 16;
        bis = 17;
    }
    return {von, bis};
}

CodePair shadingEndChosen(int32_t von, int32_t bis)
{
    if (von >= bis)
        von = bis - 1;
    if (von < 0) {
        von = 0;
        bis = 1;
    }
    return {von, bis};
}

CodePair periodStartChosen(int32_t von, int32_t bis)
{
    return {von, bis < von ? von : bis};
}

CodePair periodEndChosen(int32_t von, int32_t bis)
{
    return {bis < von ? bis : von, bis};
}

CodePair thresholdOneChosen(int32_t s1, int32_t s2, int32_t comparison, int32_t maxCode)
{
    if (comparison == 0) {
        if (s2 >= s1) {
            if (s1 > 0) {
                s2 = s1 - 1;
            } else {
                s1 = 1;
                s2 = 0;
            }
        }
    } else if (s1 >= s2) {
        if (s1 >= maxCode)
            s1 = s1 - 1;
        s2 = s1 + 1;
    }
    return {s1, s2};
}

CodePair thresholdTwoChosen(int32_t s1, int32_t s2, int32_t comparison, int32_t maxCode)
{
    if (comparison == 0) {
        if (s2 >= s1) {
            if (s2 >= maxCode)
                s2 = s2 - 1;
            s1 = s2 + 1;
        }
    } else if (s2 <= s1) {
        if (s2 <= 0)
            s2 = s2 + 1;
        s1 = s2 - 1;
    }
    return {s1, s2};
}

CodePair outsideThresholdOneChosen(int32_t s1, int32_t s2)
{
    return thresholdOneChosen(s1, s2, 1, kTemperatureMaxCode);
}

CodePair outsideThresholdTwoChosen(int32_t s1, int32_t s2)
{
    return thresholdTwoChosen(s1, s2, 1, kTemperatureMaxCode);
}

QString secondComparison(QChar letter, int32_t comparison)
{
    return QString(letter) + (comparison == 0 ? QLatin1Char('<') : QLatin1Char('>'));
}

QString humiditySecondAction(int32_t comparison, int32_t dauer)
{
    return comparison == 0 && dauer < kRunTimeDauerCode ? items::kDown : items::kNoAction;
}

std::optional<QString> oppositeDirection(int32_t richtung)
{
    if (richtung == 0)
        return items::kDown;
    if (richtung == 1)
        return items::kUp;
    return std::nullopt;
}

} // namespace vandorelle
