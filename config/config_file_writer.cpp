#include "config/config_file.h"
#include "config/config_file_format.h"
#include "config/text_codec.h"

namespace vandorelle {

namespace {

using namespace cfgfile;

class Writer {
public:
    QByteArray out;

    Writer() { out.reserve(256 * 1024); }

    void header(const QByteArray &text)
    {
        out += text;
        out += kLineEnd;
    }
    void line(const char *key, const QByteArray &value)
    {
        out += key;
        out += '=';
        out += value;
        out += kLineEnd;
    }
    void line(const char *key, int64_t value) { line(key, QByteArray::number(value)); }
    void endSection() { out += kLineEnd; }
};

QByteArray motorKey(int motor) { return "Motor" + twoDigits(motor); }

void writeMotorNames(Writer &w, const ConfigStore &s)
{
    w.header(plainHeader(kMotorNamenSection));
    for (int m = 1; m <= kMotors; ++m) {
        // A control character must not split the line.
        w.line(motorKey(m).constData(), toWindows1252(blankControlCharacters(s.MotorNamen[m - 1])));
    }
    w.endSection();
}

void writeSchedule(Writer &w, const ConfigStore &s)
{
    for (int day = 1; day <= kWeekdays; ++day) {
        for (int m = 1; m <= kMotors; ++m) {
            for (int n = 1; n <= kEntries; ++n) {
                const SchaltzeitEntry &e = s.entry(day, m, n);
                w.header(scheduleHeader(day, m, n));
                w.line("Richtung", kAufAb.forCode(e.Richtung == 0 ? 0 : 1));
                if (e.Zeit == 0) {
                    w.line("Stunde", "--");
                    w.line("Minute", "--");
                } else {
                    w.line("Stunde", hourOf(e.Zeit));
                    w.line("Minute", minuteOf(e.Zeit));
                }
                w.line("Dauer", scheduleDauerToFile(e.Dauer));
                w.line("Gruppe", e.Gruppe);
                w.line("Funktion", kFunktion.forCode(e.Funktion));
                w.endSection();
            }
        }
    }
}

template <typename Section> void writeMotorSection(Writer &w, const ConfigStore &s, const Section &section)
{
    for (int m = 1; m <= kMotors; ++m) {
        const auto &record = (s.*section.table)[m - 1];
        w.header(motorHeader(section.name, m));
        for (const auto &f : section.fields) {
            const int32_t code = record.*f.member;
            switch (f.conv) {
            case Conv::Choice: w.line(keyText(f.key), f.choices->forCode(code)); break;
            case Conv::Offset: w.line(keyText(f.key), int64_t(code) + f.offset); break;
            case Conv::TimesFivePlusFive: w.line(keyText(f.key), 5 * int64_t(code) + 5); break;
            }
        }
        w.endSection();
    }
}

void writeAlarmPattern(Writer &w, const ConfigStore &s)
{
    w.header(plainHeader(kAlarmPatternSection));
    for (int m = 1; m <= kMotors; ++m)
        w.line(motorKey(m).constData(), s.AlarmPattern[m - 1]);
    w.endSection();
}

void writeParameters(Writer &w, const ConfigStore &s)
{
    w.header(plainHeader(kParameterSection));
    for (const auto &p : kParameters)
        w.line(p.key, int64_t(s.Parameter.*p.member) + p.offset);
    w.endSection();
}

void writeGroups(Writer &w, const ConfigStore &s)
{
    w.header(plainHeader(kGruppenSection));
    for (int g = 1; g <= kGroups; ++g) {
        for (int b = 1; b <= kBanks; ++b) {
            const QByteArray key = "Gruppe_" + QByteArray::number(g) + "_Bank_" + QByteArray::number(b);
            w.line(key.constData(), s.GruppenZentralsteuerung[b - 1][g - 1]);
        }
    }
    w.endSection();
}

void writeSoftGzs(Writer &w, const ConfigStore &s)
{
    w.header(plainHeader(kSoftGzsSection));
    w.line("EinAus", kEinAus.forCode(s.SoftGZS ? 0 : 1));
    w.endSection();
}

} // namespace

QByteArray writeConfigFile(const ConfigStore &store)
{
    Writer w;
    writeMotorNames(w, store);
    writeSchedule(w, store);
    forEachFunctionSection([&](const auto &section) { writeMotorSection(w, store, section); });
    writeAlarmPattern(w, store);
    writeParameters(w, store);
    writeGroups(w, store);
    writeSoftGzs(w, store);
    writeMotorSection(w, store, kTastAutomatik);
    return w.out;
}

} // namespace vandorelle
