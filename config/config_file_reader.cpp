#include "config/config_file.h"
#include "config/config_file_format.h"
#include "config/text_codec.h"

#include <QByteArrayView>

#include <optional>

namespace vandorelle {

namespace {

using namespace cfgfile;

// A line longer than this cannot be a setting; the rest is dropped so that a huge binary
// file cannot exhaust memory.
constexpr qsizetype kMaxLineLength = 64 * 1024;

// Text values are compared over the length of the text given here, so "Zufall" and "Zufal"
// both read as random while "ein" (lower case) matches nothing.
struct ChoiceMatch {
    const char *text;
    int32_t code;
};

constexpr std::array<ChoiceMatch, 2> kEinAusMatch{{{"Ein", 0}, {"Aus", 1}}};
constexpr std::array<ChoiceMatch, 2> kTagNachtMatch{{{"Tag", 0}, {"Nacht", 1}}};
constexpr std::array<ChoiceMatch, 2> kBetriebsartMatch{{{"Heizen", 0}, {"Kuehlen", 1}}};
constexpr std::array<ChoiceMatch, 3> kRichtungMatch{{{"Auf", 0}, {"Ab", 1}, {"De", 2}}};
constexpr std::array<ChoiceMatch, 2> kGrKlMatch{{{"Gr", 0}, {"Kl", 1}}};
constexpr std::array<ChoiceMatch, 3> kFunktionMatch{{{"Norma", 0}, {"Astro", 1}, {"Zufal", 2}}};

template <std::size_t N>
std::optional<int32_t> matchChoice(QByteArrayView value, const std::array<ChoiceMatch, N> &choices)
{
    for (const ChoiceMatch &c : choices) {
        if (value.startsWith(QByteArrayView(c.text)))
            return c.code;
    }
    return std::nullopt;
}

std::optional<int32_t> parseInteger(QByteArrayView text)
{
    text = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > int64_t(std::numeric_limits<int32_t>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return int32_t(value);
}

std::optional<Key> keyOf(QByteArrayView name)
{
    for (int k = 0; k < kKeyCount; ++k) {
        if (name == QByteArrayView(kKeyTexts[k]))
            return Key(k);
    }
    return std::nullopt;
}

enum class SectionKind { None, Unknown, MotorNamen, Schaltzeit, MotorRecord, AlarmPattern, Parameter, Gruppen, SoftGzs };

int motorSectionIndex(QByteArrayView name)
{
    int found = -1;
    int index = 0;
    forEachMotorSection([&](const auto &section) {
        if (found < 0 && name == QByteArrayView(section.name))
            found = index;
        ++index;
    });
    return found;
}

SectionKind sectionKindOf(QByteArrayView name)
{
    struct Named {
        const char *name;
        SectionKind kind;
    };
    static constexpr std::array<Named, 6> kSpecial{{
        {kMotorNamenSection, SectionKind::MotorNamen},
        {kSchaltzeitSection, SectionKind::Schaltzeit},
        {kAlarmPatternSection, SectionKind::AlarmPattern},
        {kParameterSection, SectionKind::Parameter},
        {kGruppenSection, SectionKind::Gruppen},
        {kSoftGzsSection, SectionKind::SoftGzs},
    }};
    for (const Named &n : kSpecial) {
        if (name == QByteArrayView(n.name))
            return n.kind;
    }
    return motorSectionIndex(name) >= 0 ? SectionKind::MotorRecord : SectionKind::Unknown;
}

int weekdayOf(QByteArrayView text)
{
    for (int d = 0; d < kWeekdays; ++d) {
        if (text == QByteArrayView(kWeekdayTexts[d]))
            return d + 1;
    }
    return 0;
}

bool inRange(int value, int last) { return value >= 1 && value <= last; }

// Like QByteArray::mid: clamped, so short lines give short (or empty) pieces.
QByteArrayView part(QByteArrayView v, qsizetype pos, qsizetype n = -1)
{
    if (pos >= v.size())
        return {};
    const qsizetype available = v.size() - pos;
    return v.sliced(pos, n < 0 || n > available ? available : n);
}

// Thrown inside the reader only; becomes a LoadResult.
struct NotAnInteger {
    QByteArray text;
};

int32_t integerOrThrow(QByteArrayView text)
{
    if (const auto v = parseInteger(text))
        return *v;
    throw NotAnInteger{text.toByteArray()};
}

// The number of a place ("_Motor", "_Nr", "Gruppe_", "Bank_" ...): the digits after a marker.
// Returns 0 when the marker is missing; out-of-range numbers are the caller's to reject.
int numberAfter(QByteArrayView line, QByteArrayView marker, qsizetype digits)
{
    const qsizetype at = line.indexOf(marker);
    if (at < 0)
        return 0;
    return integerOrThrow(part(line, at + marker.size(), digits));
}

} // namespace

struct ConfigFileReader::State {
    ConfigStore &store;
    SectionCallback onSection;

    std::array<int32_t, kKeyCount> pending{};
    std::array<bool, kKeyCount> supplied{};

    SectionKind kind = SectionKind::None;
    int motorSection = -1;
    int weekday = 0; // 0: none valid yet
    int motor = 0;
    int entry = 0;

    int lineNumber = 0;
    bool stopped = false;
    bool sawKnownSection = false;
    bool awaitingCommit = false; // the current section has not reached its closing key yet
    int sectionLine = 0;
    QByteArray sectionHeader;
    LoadResult result;

    State(ConfigStore &s, SectionCallback cb) : store(s), onSection(std::move(cb)) {}

    bool has(Key k) const { return supplied[std::size_t(k)]; }
    int32_t value(Key k) const { return pending[std::size_t(k)]; }
    void set(Key k, int32_t v)
    {
        pending[std::size_t(k)] = v;
        supplied[std::size_t(k)] = true;
    }
    // A key no line has supplied yet leaves the field as it is.
    void take(Key k, int32_t &field, int32_t code) const
    {
        if (has(k))
            field = code;
    }

    void header(QByteArrayView line);
    void keyLine(QByteArrayView line, qsizetype eq);
    void readPending(Key key, QByteArrayView value);
    void commit(std::optional<Key> key, QByteArrayView line, QByteArrayView value);
    void commitSchedule();
    template <typename Section> void commitMotorRecord(const Section &section);
};

void ConfigFileReader::State::header(QByteArrayView line)
{
    const qsizetype underscore = line.indexOf('_');
    const QByteArrayView name = underscore > 0 ? line.sliced(1, underscore - 1) : QByteArrayView();
    if (onSection)
        onSection(fromWindows1252(name.toByteArray()));

    kind = sectionKindOf(name);
    motorSection = kind == SectionKind::MotorRecord ? motorSectionIndex(name) : -1;
    if (kind != SectionKind::Unknown)
        sawKnownSection = true;
    awaitingCommit = kind == SectionKind::Schaltzeit || kind == SectionKind::MotorRecord;
    sectionLine = lineNumber;
    sectionHeader = line.toByteArray();

    if (kind == SectionKind::Schaltzeit) // "[Schaltzeit_Mo_..."
        weekday = weekdayOf(part(line, 12, 2));
    if (line.contains(QByteArrayView("_Motor")))
        motor = numberAfter(line, "_Motor", 2);
    if (line.contains(QByteArrayView("_Nr")))
        entry = numberAfter(line, "_Nr", 1);
}

void ConfigFileReader::State::readPending(Key key, QByteArrayView value)
{
    std::optional<int32_t> code;
    switch (key) {
    case Key::EinAus: code = matchChoice(value, kEinAusMatch); break;
    case Key::TagNacht: code = matchChoice(value, kTagNachtMatch); break;
    case Key::Betriebsart: code = matchChoice(value, kBetriebsartMatch); break;
    case Key::Richtung: code = matchChoice(value, kRichtungMatch); break;
    case Key::Gr_KL: code = matchChoice(value, kGrKlMatch); break;
    case Key::Funktion: code = matchChoice(value, kFunktionMatch); break;
    case Key::Stunde:
        code = value.startsWith(QByteArrayView("--")) ? 24 : integerOrThrow(value);
        break;
    case Key::Minute:
        if (!value.startsWith(QByteArrayView("--")))
            code = integerOrThrow(value);
        break;
    case Key::Gruppe: code = integerOrThrow(part(value, 0, 1)); break;
    default: code = integerOrThrow(value); break;
    }
    if (code)
        set(key, *code);
}

void ConfigFileReader::State::commitSchedule()
{
    if (!inRange(weekday, kWeekdays) || !inRange(motor, kMotors) || !inRange(entry, kEntries))
        return;
    SchaltzeitEntry &e = store.entry(weekday, motor, entry);
    take(Key::Richtung, e.Richtung, value(Key::Richtung));
    if (has(Key::Stunde) || has(Key::Minute)) {
        const bool hadTime = e.Zeit > 0;
        const int64_t hour = has(Key::Stunde) ? value(Key::Stunde) : (hadTime ? hourOf(e.Zeit) : 24);
        const int64_t minute = has(Key::Minute) ? value(Key::Minute) : (hadTime ? minuteOf(e.Zeit) : 0);
        e.Zeit = hour == 24 ? 0 : saturate(hour * 60 + minute + 1);
    }
    take(Key::Dauer, e.Dauer, scheduleDauerFromFile(value(Key::Dauer)));
    take(Key::Gruppe, e.Gruppe, value(Key::Gruppe));
    take(Key::Funktion, e.Funktion, value(Key::Funktion));
}

template <typename Section> void ConfigFileReader::State::commitMotorRecord(const Section &section)
{
    if (!inRange(motor, kMotors))
        return;
    auto &record = (store.*section.table)[motor - 1];
    for (const auto &f : section.fields) {
        const int64_t v = value(f.key);
        int32_t code = 0;
        switch (f.conv) {
        case Conv::Choice: code = int32_t(v); break;
        case Conv::Offset: code = saturate(v - f.offset); break;
        case Conv::TimesFivePlusFive: code = saturate(v / 5 - 1); break;
        }
        take(f.key, record.*f.member, code);
    }
}

void ConfigFileReader::State::commit(std::optional<Key> key, QByteArrayView line, QByteArrayView value)
{
    switch (kind) {
    case SectionKind::None:
    case SectionKind::Unknown: return;
    case SectionKind::MotorNamen: {
        const int m = integerOrThrow(part(line, 5, 2)); // "Motor01=..."
        if (inRange(m, kMotors))
            store.MotorNamen[m - 1] = blankControlCharacters(fromWindows1252(value.toByteArray()));
        return;
    }
    case SectionKind::Schaltzeit:
        if (key == Key::Funktion) {
            awaitingCommit = false;
            commitSchedule();
        }
        return;
    case SectionKind::MotorRecord: {
        int index = 0;
        forEachMotorSection([&](const auto &section) {
            if (index++ == motorSection && key == section.commit) {
                awaitingCommit = false;
                commitMotorRecord(section);
            }
        });
        return;
    }
    case SectionKind::AlarmPattern: {
        const int m = integerOrThrow(part(line, 5, 2));
        const int32_t code = integerOrThrow(value);
        if (inRange(m, kMotors))
            store.AlarmPattern[m - 1] = code;
        return;
    }
    case SectionKind::Parameter: {
        const int64_t v = integerOrThrow(value);
        const QByteArrayView prefix = part(line, 0, kParameterKeyPrefix);
        for (const ParameterFormat &p : kParameters) {
            if (prefix == part(p.key, 0, kParameterKeyPrefix))
                store.Parameter.*p.member = saturate(v - p.offset);
        }
        return;
    }
    case SectionKind::Gruppen: {
        const int32_t mask = integerOrThrow(value);
        const int group = numberAfter(line, "Gruppe_", 1);
        const int bank = numberAfter(line, "Bank_", 1);
        if (inRange(group, kGroups) && inRange(bank, kBanks))
            store.GruppenZentralsteuerung[bank - 1][group - 1] = mask;
        return;
    }
    case SectionKind::SoftGzs:
        if (has(Key::EinAus))
            store.SoftGZS = this->value(Key::EinAus) != 1;
        return;
    }
}

void ConfigFileReader::State::keyLine(QByteArrayView line, qsizetype eq)
{
    const QByteArrayView value = line.sliced(eq + 1);
    const std::optional<Key> key = keyOf(line.first(eq));
    if (key)
        readPending(*key, value);
    commit(key, line, value);
}

ConfigFileReader::ConfigFileReader(ConfigStore &store, SectionCallback onSection)
    : d(std::make_unique<State>(store, std::move(onSection)))
{
    store.markAllPending();
}

ConfigFileReader::~ConfigFileReader() = default;

bool ConfigFileReader::feedLine(const QByteArray &bytes)
{
    if (d->stopped)
        return false;
    ++d->lineNumber;
    QByteArrayView line(bytes);
    if (line.size() > kMaxLineLength)
        line = line.first(kMaxLineLength);
    if (d->lineNumber == 1 && line.startsWith(QByteArrayView("\xEF\xBB\xBF")))
        line = line.sliced(3); // byte-order mark of an editor that saved UTF-8
    if (line.isEmpty())
        return true;
    try {
        if (line.front() == '[') {
            d->header(line);
            return true;
        }
        const qsizetype eq = line.indexOf('=');
        if (eq >= 0)
            d->keyLine(line, eq);
    } catch (const NotAnInteger &e) {
        d->stopped = true;
        d->result.ok = false;
        d->result.status = LoadResult::Status::NotAnInteger;
        d->result.line = d->lineNumber;
        d->result.message = QStringLiteral("'%1' ist kein gültiger Integerwert (Zeile %2)")
                                .arg(blankControlCharacters(fromWindows1252(e.text)),
                                     QString::number(d->lineNumber));
        return false;
    }
    return true;
}

LoadResult ConfigFileReader::finish()
{
    if (d->stopped)
        return d->result;
    LoadResult r;
    if (!d->sawKnownSection) {
        r.ok = false;
        r.status = LoadResult::Status::NoSettings;
        r.message = QStringLiteral("Die Datei enthält keine Einstellungen.");
    } else if (d->awaitingCommit) {
        r.ok = false;
        r.status = LoadResult::Status::Incomplete;
        r.line = d->sectionLine;
        r.message = QStringLiteral("Die Datei endet unvollständig im Abschnitt %1 (Zeile %2).")
                        .arg(blankControlCharacters(fromWindows1252(d->sectionHeader)),
                             QString::number(d->sectionLine));
    }
    return r;
}

LoadResult readConfigFile(const QByteArray &bytes, ConfigStore &store, const SectionCallback &onSection)
{
    ConfigFileReader reader(store, onSection);
    for (const QByteArray &line : splitLines(bytes)) {
        if (!reader.feedLine(line))
            break;
    }
    return reader.finish();
}

} // namespace vandorelle
