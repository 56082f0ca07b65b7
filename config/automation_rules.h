#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace vandorelle {

// Two codes that a rule keeps in step: a period (start, end) or two thresholds.
struct CodePair {
    int32_t first = 0;
    int32_t second = 0;
    bool operator==(const CodePair &) const = default;
};

// Shading period (codes 0..17 = 05:00..22:00): at least one hour, starting by 21:00,
// ending from 06:00 on.
CodePair shadingStartChosen(int32_t von, int32_t bis);
CodePair shadingEndChosen(int32_t von, int32_t bis);

// Active periods of humidity and temperature control: start <= end; equal means all day.
CodePair periodStartChosen(int32_t von, int32_t bis);
CodePair periodEndChosen(int32_t von, int32_t bis);

// Comparison at threshold 1: 0 = above (">"), 1 = below ("<"). Above keeps
// threshold 1 over threshold 2, below keeps it under; maxCode is the last code.
constexpr int32_t kHumidityMaxCode = 98;    // "99%"
constexpr int32_t kTemperatureMaxCode = 59; // "50°"
CodePair thresholdOneChosen(int32_t s1, int32_t s2, int32_t comparison, int32_t maxCode);
CodePair thresholdTwoChosen(int32_t s1, int32_t s2, int32_t comparison, int32_t maxCode);

// Outside temperature: threshold 1 is always the lower one.
CodePair outsideThresholdOneChosen(int32_t s1, int32_t s2);
CodePair outsideThresholdTwoChosen(int32_t s1, int32_t s2);

// The comparison at threshold 2, opposite to threshold 1: letter "F" or "T".
QString secondComparison(QChar letter, int32_t comparison);
// Humidity action at threshold 2: down, or none when triggered below or on continuous run.
QString humiditySecondAction(int32_t comparison, int32_t dauer);
// Direction at threshold 2, opposite to threshold 1's; none for deactivated (2) or unknown.
std::optional<QString> oppositeDirection(int32_t richtung);
// Outside-temperature action code that switches the motor off instead of moving it.
constexpr int32_t kOutsideDeactivated = 2;

} // namespace vandorelle
