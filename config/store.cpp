#include "config/store.h"

namespace vandorelle {

QString defaultMotorName(int motorIndex)
{
    return QStringLiteral("Motor %1").arg(motorIndex + 1);
}

QString shownMotorName(const QString &name, int motorIndex)
{
    const QString shown = name.trimmed();
    return shown.isEmpty() ? defaultMotorName(motorIndex) : shown;
}

void ConfigStore::reset()
{
    Schaltzeit.fill(SchaltzeitEntry{});
    Beschattung.fill(BeschattungRecord{});
    DaemmerungMorgen.fill(DaemmerungRecord{});
    DaemmerungAbend.fill(DaemmerungRecord{});
    Wind.fill(WindRecord{});
    Regen.fill(RegenRecord{});
    Reversierung.fill(ReversierungRecord{});
    TastAutomatik.fill(TastAutomatikRecord{});
    ProportionaleTemperatursteuerung.fill(ProportionaleTemperaturRecord{});
    InnenTemperatursteuerung.fill(InnenTemperaturRecord{});
    HeizungsSteuerung.fill(HeizungsRecord{});
    FeuchtigkeitsSteuerung.fill(FeuchtigkeitsRecord{});
    AussenTemperatursteuerung.fill(AussenTemperaturRecord{});
    AlarmPattern.fill(1);
    for (auto &bank : GruppenZentralsteuerung)
        for (auto &mask : bank) mask = 0;
    Parameter = Parameters{};
    for (int m = 0; m < kMotors; ++m) MotorNamen[m] = defaultMotorName(m);
    SoftGZS = false;
}

namespace {
template <typename Store, typename Fn>
void forEachSenden(Store &s, Fn fn)
{
    for (auto &e : s.Schaltzeit) fn(e.Senden);
    auto all = [&](auto &table) {
        for (auto &r : table) fn(r.Senden);
    };
    all(s.Beschattung);
    all(s.DaemmerungMorgen);
    all(s.DaemmerungAbend);
    all(s.Wind);
    all(s.Regen);
    all(s.Reversierung);
    all(s.TastAutomatik);
    all(s.ProportionaleTemperatursteuerung);
    all(s.InnenTemperatursteuerung);
    all(s.HeizungsSteuerung);
    all(s.FeuchtigkeitsSteuerung);
    all(s.AussenTemperatursteuerung);
}
} // namespace

void ConfigStore::markAllPending()
{
    forEachSenden(*this, [](int32_t &f) { f = 1; });
}

int ConfigStore::pendingCount() const
{
    int n = 0;
    forEachSenden(*this, [&n](int32_t f) { n += f == 1; });
    return n;
}

void ConfigStore::clearAllPending()
{
    forEachSenden(*this, [](int32_t &f) { f = 0; });
}

int32_t &ConfigStore::senden(MotorTable table, int m)
{
    switch (table) {
    case MotorTable::Beschattung: return Beschattung[m].Senden;
    case MotorTable::DaemmerungMorgen: return DaemmerungMorgen[m].Senden;
    case MotorTable::DaemmerungAbend: return DaemmerungAbend[m].Senden;
    case MotorTable::Wind: return Wind[m].Senden;
    case MotorTable::Regen: return Regen[m].Senden;
    case MotorTable::Reversierung: return Reversierung[m].Senden;
    case MotorTable::TastAutomatik: return TastAutomatik[m].Senden;
    case MotorTable::ProportionaleTemperatursteuerung: return ProportionaleTemperatursteuerung[m].Senden;
    case MotorTable::InnenTemperatursteuerung: return InnenTemperatursteuerung[m].Senden;
    case MotorTable::HeizungsSteuerung: return HeizungsSteuerung[m].Senden;
    case MotorTable::FeuchtigkeitsSteuerung: return FeuchtigkeitsSteuerung[m].Senden;
    case MotorTable::AussenTemperatursteuerung: return AussenTemperatursteuerung[m].Senden;
    }
    return Beschattung[m].Senden;
}

int32_t ConfigStore::senden(MotorTable table, int m) const
{
    return const_cast<ConfigStore *>(this)->senden(table, m);
}

void ConfigStore::markPending(MotorTable table, int motorIndex)
{
    senden(table, motorIndex) = 1;
}

void ConfigStore::markSchedulePending(int flat)
{
    Schaltzeit[flat].Senden = 1;
}

} // namespace vandorelle
