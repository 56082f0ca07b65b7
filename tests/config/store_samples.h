#pragma once

#include "config/config_file_format.h"
#include "config/store.h"

#include <QString>
#include <QStringList>

#include <random>

namespace vandorelle::testing {

// A store whose every field holds a random code from its own range, so that a swapped key,
// a wrong offset or a field that is never read shows up as a difference.
inline ConfigStore randomStore(unsigned seed)
{
    std::mt19937 rng(seed);
    auto pick = [&rng](int first, int last) {
        return std::uniform_int_distribution<int>(first, last)(rng);
    };
    // Characters a user may type, "=" and non-ASCII Windows-1252 letters included.
    const QString alphabet = QStringLiteral("abcXYZ 0189=-_[]äöüÄÖÜß€é°µ");
    auto name = [&]() {
        QString s;
        for (int i = pick(1, 12); i > 0; --i)
            s += alphabet.at(pick(0, int(alphabet.size()) - 1));
        return s;
    };

    ConfigStore s;
    static constexpr int kGroupCodes[] = {1, 2, 5, 7};
    for (auto &e : s.Schaltzeit) {
        e.Richtung = pick(0, 1);
        e.Zeit = pick(0, 3) == 0 ? 0 : pick(1, 1440);
        e.Dauer = pick(0, 129);
        e.Gruppe = kGroupCodes[pick(0, 3)];
        e.Funktion = pick(0, 2);
        e.Senden = pick(0, 1);
    }
    for (int m = 0; m < kMotors; ++m) {
        s.Beschattung[m] = {pick(0, 1), pick(0, 45), pick(0, 17), pick(0, 17), pick(0, 155), pick(0, 189), 0};
        s.DaemmerungMorgen[m] = {pick(0, 1), pick(0, 8), pick(0, 249), pick(0, 190), 0};
        s.DaemmerungAbend[m] = {pick(0, 1), pick(0, 9), pick(0, 249), pick(0, 190), 0};
        s.Wind[m] = {pick(0, 1), pick(0, 18), 0};
        s.Regen[m] = {pick(0, 1), pick(0, 1), 0};
        s.Reversierung[m] = {pick(0, 1), pick(0, 40), pick(0, 40), 0};
        s.TastAutomatik[m] = {pick(0, 1), pick(0, 99), 0};
        s.ProportionaleTemperatursteuerung[m] = {pick(0, 1), pick(0, 23), pick(0, 23), pick(0, 49),
                                                 pick(0, 1), pick(0, 8), pick(0, 189), pick(0, 7), 0};
        s.InnenTemperatursteuerung[m] = {pick(0, 1), pick(0, 1), pick(0, 59), pick(0, 1),
                                         pick(0, 59), pick(0, 190), pick(0, 23), pick(0, 23), 0};
        s.HeizungsSteuerung[m] = {pick(0, 1), pick(0, 1), pick(0, 1), pick(0, 255), pick(0, 255), 0};
        s.FeuchtigkeitsSteuerung[m] = {pick(0, 1), pick(0, 1), pick(0, 98), pick(0, 98),
                                       pick(0, 190), pick(0, 23), pick(0, 23), 0};
        s.AussenTemperatursteuerung[m] = {pick(0, 1), pick(0, 59), pick(0, 2), pick(0, 59), pick(0, 190), 0};
        s.AlarmPattern[m] = pick(0, 2);
        s.MotorNamen[m] = name();
    }
    for (auto &bank : s.GruppenZentralsteuerung)
        for (auto &mask : bank) mask = pick(0, 255);
    s.Parameter = {pick(0, 252), pick(0, 48), pick(0, 10), pick(0, 10), pick(0, 8)};
    s.SoftGZS = pick(0, 1) == 1;
    return s;
}

// Every value the file carries at the first or the last code of its range, every name twelve
// characters long: with last, every switching time is in use.
inline ConfigStore storeAtRangeEnds(bool last)
{
    ConfigStore s;
    cfgfile::forEachRangedValue(s, [last](const char *, int32_t &value, const cfgfile::CodeRange &range) {
        value = last ? range.last : range.first;
    });
    for (int m = 0; m < kMotors; ++m)
        s.MotorNamen[m] = QStringLiteral("Wohnküche %1").arg(m + 1, 2, 10, QLatin1Char('0'));
    s.SoftGZS = last;
    return s;
}

// Names the records that differ, for a readable failure message; empty when equal.
inline QString storeDifferences(const ConfigStore &a, const ConfigStore &b)
{
    QStringList out;
    auto table = [&](const char *name, const auto &x, const auto &y) {
        for (std::size_t i = 0; i < x.size(); ++i) {
            if (!(x[i] == y[i]))
                out << QStringLiteral("%1[%2]").arg(QLatin1String(name)).arg(i);
        }
    };
    table("Schaltzeit", a.Schaltzeit, b.Schaltzeit);
    table("Beschattung", a.Beschattung, b.Beschattung);
    table("DaemmerungMorgen", a.DaemmerungMorgen, b.DaemmerungMorgen);
    table("DaemmerungAbend", a.DaemmerungAbend, b.DaemmerungAbend);
    table("Wind", a.Wind, b.Wind);
    table("Regen", a.Regen, b.Regen);
    table("Reversierung", a.Reversierung, b.Reversierung);
    table("TastAutomatik", a.TastAutomatik, b.TastAutomatik);
    table("ProportionaleTemperatursteuerung", a.ProportionaleTemperatursteuerung, b.ProportionaleTemperatursteuerung);
    table("InnenTemperatursteuerung", a.InnenTemperatursteuerung, b.InnenTemperatursteuerung);
    table("HeizungsSteuerung", a.HeizungsSteuerung, b.HeizungsSteuerung);
    table("FeuchtigkeitsSteuerung", a.FeuchtigkeitsSteuerung, b.FeuchtigkeitsSteuerung);
    table("AussenTemperatursteuerung", a.AussenTemperatursteuerung, b.AussenTemperatursteuerung);
    table("AlarmPattern", a.AlarmPattern, b.AlarmPattern);
    table("MotorNamen", a.MotorNamen, b.MotorNamen);
    for (int bank = 0; bank < kBanks; ++bank)
        for (int g = 0; g < kGroups; ++g)
            if (a.GruppenZentralsteuerung[bank][g] != b.GruppenZentralsteuerung[bank][g])
                out << QStringLiteral("GruppenZentralsteuerung[%1][%2]").arg(bank).arg(g);
    if (!(a.Parameter == b.Parameter))
        out << QStringLiteral("Parameter");
    if (a.SoftGZS != b.SoftGZS)
        out << QStringLiteral("SoftGZS");
    if (out.size() > 10)
        out = out.mid(0, 10) << QStringLiteral("...");
    return out.join(QStringLiteral(", "));
}

} // namespace vandorelle::testing
