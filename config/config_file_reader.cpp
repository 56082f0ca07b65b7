#include "config/config_file.h"
#include "config/config_file_format.h"
#include "config/text_codec.h"

#include <QByteArrayView>

#include <algorithm>
#include <limits>
#include <optional>

namespace vandorelle {

namespace {

using namespace cfgfile;

// A line longer than this cannot be a setting; the rest is dropped so that a huge binary
// file cannot exhaust memory.
constexpr qsizetype kMaxLineLength = 64 * 1024;
// Texts quoted in a message are cut to this many characters.
constexpr qsizetype kMaxQuotedLength = 60;

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

struct NamedSection {
    const char *name;
    SectionKind kind;
};
constexpr std::array<NamedSection, 6> kNamedSections{{
    {kMotorNamenSection, SectionKind::MotorNamen},
    {kSchaltzeitSection, SectionKind::Schaltzeit},
    {kAlarmPatternSection, SectionKind::AlarmPattern},
    {kParameterSection, SectionKind::Parameter},
    {kGruppenSection, SectionKind::Gruppen},
    {kSoftGzsSection, SectionKind::SoftGzs},
}};

SectionKind sectionKindOf(QByteArrayView name)
{
    for (const NamedSection &n : kNamedSections) {
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

// Every section the save writes, numbered in the order it writes them.
constexpr int kNamesSlot = 0;
constexpr int kScheduleSlot = kNamesSlot + 1;
constexpr int kFunctionSlot = kScheduleSlot + kScheduleSize;
constexpr int kAlarmSlot = kFunctionSlot + kFunctionSections * kMotors;
constexpr int kParameterSlot = kAlarmSlot + 1;
constexpr int kGruppenSlot = kParameterSlot + 1;
constexpr int kSoftGzsSlot = kGruppenSlot + 1;
constexpr int kTastSlot = kSoftGzsSlot + 1;
constexpr int kSlotCount = kTastSlot + kMotors;

// Calls fn with the format of the per-motor section numbered index, in file order.
template <typename Fn> void withMotorSection(int index, Fn &&fn)
{
    int i = 0;
    forEachMotorSection([&](const auto &format) {
        if (i++ == index)
            fn(format);
    });
}

const char *motorSectionName(int index)
{
    const char *name = "";
    withMotorSection(index, [&](const auto &format) { name = format.name; });
    return name;
}

QByteArray slotHeader(int slot)
{
    if (slot == kNamesSlot)
        return plainHeader(kMotorNamenSection);
    if (slot < kFunctionSlot) {
        const int flat = slot - kScheduleSlot;
        return scheduleHeader(flat / (kMotors * kEntries) + 1, flat / kEntries % kMotors + 1, flat % kEntries + 1);
    }
    if (slot < kAlarmSlot)
        return motorHeader(motorSectionName((slot - kFunctionSlot) / kMotors), (slot - kFunctionSlot) % kMotors + 1);
    if (slot >= kTastSlot)
        return motorHeader(kTastAutomatik.name, slot - kTastSlot + 1);
    static constexpr std::array<const char *, 3> kPlain{kParameterSection, kGruppenSection, kSoftGzsSection};
    return plainHeader(slot == kAlarmSlot ? kAlarmPatternSection : kPlain[std::size_t(slot - kParameterSlot)]);
}

// Thrown inside the reader only; each ends the load with its message.
struct Refusal {
    LoadResult::Status status;
    QString message;
    int line;
};
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

// Minute "--" of an entry without a time: no number a file can hold.
constexpr int64_t kNoMinute = std::numeric_limits<int64_t>::min();

// The section being read: where its values go and which of its lines have been read.
struct Section {
    SectionKind kind = SectionKind::None;
    int motorSection = -1;
    int weekday = 0;
    int motor = 0;
    int entry = 0;
    int slot = -1; // -1: the store has no place for it, so it is not read
    int line = 0;
    QByteArray header;
    uint32_t read = 0; // bit i: line i of the section (key, motor, parameter ...) was read
    std::array<int64_t, kKeyCount> values{};
    uint32_t keys = 0; // bit k: a value of key k was read

    bool has(Key k) const { return keys & (uint32_t(1) << int(k)); }
    int64_t value(Key k) const { return values[std::size_t(k)]; }
    void set(int item, Key k, int64_t v)
    {
        values[std::size_t(k)] = v;
        keys |= uint32_t(1) << int(k);
        read |= uint32_t(1) << item;
    }
};

} // namespace

struct ConfigFileReader::State {
    ConfigStore &target;
    std::unique_ptr<ConfigStore> loaded; // the store as the file has it so far
    SectionCallback onSection;

    QByteArray partial; // the start of a line whose end has not been fed yet
    bool utf8 = false;
    int lineNumber = 0;
    bool lastLineEmpty = false;
    bool sawKnownSection = false;
    bool stopped = false;
    LoadResult result;

    Section section;
    std::array<int, kSlotCount> slotLine{}; // header line of each section read; 0: missing

    State(ConfigStore &s, SectionCallback cb)
        : target(s), loaded(std::make_unique<ConfigStore>(s)), onSection(std::move(cb))
    {
    }

    QString decode(const QByteArray &bytes) const;
    QString quoted(QByteArrayView text) const;
    [[noreturn]] void refuseValue(QByteArrayView text) const;

    void line(QByteArrayView bytes);
    void header(QByteArrayView line);
    void keyLine(QByteArrayView line, qsizetype eq);
    std::optional<int64_t> readValue(Key key, QByteArrayView text);
    void readSectionKey(Key key, QByteArrayView text, std::optional<int64_t> value);
    void readEveryLineSection(QByteArrayView line, QByteArrayView value);
    void closeSection();
    void storeSchedule();
    template <typename MotorSectionFormat> void storeMotorRecord(const MotorSectionFormat &format);
    int itemCount() const;
    QByteArray itemName(int item) const;
    void fail(const Refusal &refusal);
    Refusal endsInsideASection() const;
};

QString ConfigFileReader::State::decode(const QByteArray &bytes) const
{
    return utf8 ? QString::fromUtf8(bytes) : fromWindows1252(bytes);
}

QString ConfigFileReader::State::quoted(QByteArrayView text) const
{
    QString s = blankControlCharacters(decode(text.toByteArray()));
    if (s.size() > kMaxQuotedLength)
        s = s.left(kMaxQuotedLength) + QStringLiteral("...");
    return s;
}

void ConfigFileReader::State::refuseValue(QByteArrayView text) const
{
    throw Refusal{LoadResult::Status::OutOfRange,
                  QStringLiteral("Wert '%1' außerhalb des gültigen Bereichs (Zeile %2)")
                      .arg(quoted(text), QString::number(lineNumber)),
                  lineNumber};
}

void ConfigFileReader::State::closeSection()
{
    if (section.slot < 0)
        return;
    for (int i = 0; i < itemCount(); ++i) {
        if (!(section.read & (uint32_t(1) << i)))
            throw Refusal{LoadResult::Status::Incomplete,
                          QStringLiteral("Die Datei ist unvollständig: Eintrag %1 im Abschnitt %2 fehlt (Zeile %3).")
                              .arg(QString::fromLatin1(itemName(i)), quoted(section.header),
                                   QString::number(section.line)),
                          section.line};
    }
    if (section.kind == SectionKind::Schaltzeit)
        storeSchedule();
    if (section.kind == SectionKind::SoftGzs)
        loaded->SoftGZS = section.value(Key::EinAus) == 0;
    if (section.kind == SectionKind::MotorRecord)
        withMotorSection(section.motorSection, [this](const auto &format) { storeMotorRecord(format); });
    if (slotLine[std::size_t(section.slot)] == 0)
        slotLine[std::size_t(section.slot)] = section.line;
}

int ConfigFileReader::State::itemCount() const
{
    switch (section.kind) {
    case SectionKind::MotorNamen:
    case SectionKind::AlarmPattern: return kMotors;
    case SectionKind::Schaltzeit: return int(kScheduleKeys.size());
    case SectionKind::Parameter: return int(kParameters.size());
    case SectionKind::Gruppen: return kGroups * kBanks;
    case SectionKind::SoftGzs: return 1;
    case SectionKind::MotorRecord: {
        int count = 0;
        withMotorSection(section.motorSection, [&](const auto &format) { count = int(format.fields.size()); });
        return count;
    }
    case SectionKind::None:
    case SectionKind::Unknown: break;
    }
    return 0;
}

QByteArray ConfigFileReader::State::itemName(int item) const
{
    switch (section.kind) {
    case SectionKind::MotorNamen:
    case SectionKind::AlarmPattern: return "Motor" + twoDigits(item + 1);
    case SectionKind::Schaltzeit: return keyText(kScheduleKeys[std::size_t(item)].key);
    case SectionKind::Parameter: return kParameters[std::size_t(item)].key;
    case SectionKind::Gruppen:
        return "Gruppe_" + QByteArray::number(item / kBanks + 1) + "_Bank_" + QByteArray::number(item % kBanks + 1);
    case SectionKind::SoftGzs: return keyText(Key::EinAus);
    case SectionKind::MotorRecord: {
        QByteArray name;
        withMotorSection(section.motorSection,
                         [&](const auto &format) { name = keyText(format.fields[std::size_t(item)].key); });
        return name;
    }
    case SectionKind::None:
    case SectionKind::Unknown: break;
    }
    return {};
}

void ConfigFileReader::State::header(QByteArrayView line)
{
    closeSection();
    const qsizetype underscore = line.indexOf('_');
    const QByteArrayView name = underscore > 0 ? line.sliced(1, underscore - 1) : QByteArrayView();
    if (onSection)
        onSection(decode(name.toByteArray()));

    // A header names its own place; one it does not name is none.
    section = Section{};
    section.kind = sectionKindOf(name);
    section.line = lineNumber;
    section.header = line.toByteArray();
    if (section.kind != SectionKind::Unknown)
        sawKnownSection = true;
    if (section.kind == SectionKind::Schaltzeit) // "[Schaltzeit_Mo_..."
        section.weekday = weekdayOf(part(line, 12, 2));
    if (line.contains(QByteArrayView("_Motor")))
        section.motor = numberAfter(line, "_Motor", 2);
    if (line.contains(QByteArrayView("_Nr")))
        section.entry = numberAfter(line, "_Nr", 1);

    switch (section.kind) {
    case SectionKind::None:
    case SectionKind::Unknown: break;
    case SectionKind::MotorNamen: section.slot = kNamesSlot; break;
    case SectionKind::Schaltzeit:
        if (inRange(section.weekday, kWeekdays) && inRange(section.motor, kMotors) && inRange(section.entry, kEntries))
            section.slot = kScheduleSlot + ConfigStore::flatIndex(section.weekday, section.motor, section.entry);
        break;
    case SectionKind::MotorRecord:
        section.motorSection = motorSectionIndex(name);
        if (inRange(section.motor, kMotors))
            section.slot = section.motorSection < kFunctionSections
                               ? kFunctionSlot + section.motorSection * kMotors + section.motor - 1
                               : kTastSlot + section.motor - 1;
        break;
    case SectionKind::AlarmPattern: section.slot = kAlarmSlot; break;
    case SectionKind::Parameter: section.slot = kParameterSlot; break;
    case SectionKind::Gruppen: section.slot = kGruppenSlot; break;
    case SectionKind::SoftGzs: section.slot = kSoftGzsSlot; break;
    }
}

std::optional<int64_t> ConfigFileReader::State::readValue(Key key, QByteArrayView text)
{
    switch (key) {
    case Key::EinAus: return matchChoice(text, kEinAusMatch);
    case Key::TagNacht: return matchChoice(text, kTagNachtMatch);
    case Key::Betriebsart: return matchChoice(text, kBetriebsartMatch);
    case Key::Richtung: return matchChoice(text, kRichtungMatch);
    case Key::Gr_KL: return matchChoice(text, kGrKlMatch);
    case Key::Funktion: return matchChoice(text, kFunktionMatch);
    case Key::Stunde:
        return text.startsWith(QByteArrayView("--")) ? kNoTimeHour : integerOrThrow(text);
    case Key::Minute: return text.startsWith(QByteArrayView("--")) ? kNoMinute : integerOrThrow(text);
    case Key::Gruppe: return integerOrThrow(part(text, 0, 1));
    default: return integerOrThrow(text);
    }
}

void ConfigFileReader::State::readSectionKey(Key key, QByteArrayView text, std::optional<int64_t> value)
{
    // An unknown choice text is no value of the field either.
    auto take = [&](int item, CodeRange range, int64_t code) {
        if (!value || !range.contains(code))
            refuseValue(text);
        section.set(item, key, code);
    };
    switch (section.kind) {
    case SectionKind::Schaltzeit:
        for (std::size_t i = 0; i < kScheduleKeys.size(); ++i) {
            if (kScheduleKeys[i].key != key)
                continue;
            // A time needs both halves: the minute "--" goes only with the hour "--".
            const bool noHour = key == Key::Stunde && value == kNoTimeHour;
            const bool noMinute = key == Key::Minute && value == kNoMinute;
            if (noMinute) {
                if (section.has(Key::Stunde) && section.value(Key::Stunde) != kNoTimeHour)
                    refuseValue(text);
                section.set(int(i), key, kNoMinute);
                return;
            }
            if (key == Key::Stunde && !noHour && section.has(Key::Minute) && section.value(Key::Minute) == kNoMinute)
                refuseValue(text);
            take(int(i), kScheduleKeys[i].range,
                 key == Key::Dauer ? scheduleDauerFromFile(value.value_or(0)) : value.value_or(0));
        }
        return;
    case SectionKind::SoftGzs:
        if (key == Key::EinAus)
            take(0, kTwoWay, value.value_or(0));
        return;
    case SectionKind::MotorRecord:
        withMotorSection(section.motorSection, [&](const auto &format) {
            for (std::size_t i = 0; i < format.fields.size(); ++i) {
                const auto &f = format.fields[i];
                if (f.key == key)
                    take(int(i), f.range, codeFromFile(f.conv, f.offset, value.value_or(0)));
            }
        });
        return;
    default: return;
    }
}

void ConfigFileReader::State::readEveryLineSection(QByteArrayView line, QByteArrayView value)
{
    ConfigStore &s = *loaded;
    switch (section.kind) {
    case SectionKind::MotorNamen: {
        const int m = integerOrThrow(part(line, 5, 2)); // "Motor01=..."
        if (!inRange(m, kMotors))
            return;
        QString name;
        if (utf8) {
            const std::optional<QString> text = fromUtf8Strictly(value.toByteArray());
            // The name goes to the controller and into files in Windows-1252.
            if (!text || !representableInWindows1252(*text))
                refuseValue(value);
            name = *text;
        } else {
            name = fromWindows1252(value.toByteArray());
        }
        s.MotorNamen[std::size_t(m - 1)] = blankControlCharacters(name);
        section.read |= uint32_t(1) << (m - 1);
        return;
    }
    case SectionKind::AlarmPattern: {
        const int m = integerOrThrow(part(line, 5, 2));
        const int32_t code = integerOrThrow(value);
        if (!inRange(m, kMotors))
            return;
        if (!kAlarmPatternRange.contains(code))
            refuseValue(value);
        s.AlarmPattern[std::size_t(m - 1)] = code;
        section.read |= uint32_t(1) << (m - 1);
        return;
    }
    case SectionKind::Parameter: {
        const int64_t v = integerOrThrow(value);
        const QByteArrayView prefix = part(line, 0, kParameterKeyPrefix);
        for (std::size_t i = 0; i < kParameters.size(); ++i) {
            const ParameterFormat &p = kParameters[i];
            if (prefix != part(p.key, 0, kParameterKeyPrefix))
                continue;
            if (!p.range.contains(v - p.offset))
                refuseValue(value);
            s.Parameter.*p.member = int32_t(v - p.offset);
            section.read |= uint32_t(1) << i;
        }
        return;
    }
    case SectionKind::Gruppen: {
        const int32_t mask = integerOrThrow(value);
        const int group = numberAfter(line, "Gruppe_", 1);
        const int bank = numberAfter(line, "Bank_", 1);
        if (!inRange(group, kGroups) || !inRange(bank, kBanks))
            return;
        if (!kGroupMaskRange.contains(mask))
            refuseValue(value);
        s.GruppenZentralsteuerung[bank - 1][group - 1] = mask;
        section.read |= uint32_t(1) << ((group - 1) * kBanks + bank - 1);
        return;
    }
    default: return;
    }
}

void ConfigFileReader::State::keyLine(QByteArrayView line, qsizetype eq)
{
    const QByteArrayView value = line.sliced(eq + 1);
    // Every value of a known key is converted, wherever it stands; a section takes only its own.
    std::optional<int64_t> converted;
    const std::optional<Key> key = keyOf(line.first(eq));
    if (key)
        converted = readValue(*key, value);
    if (section.slot < 0)
        return;
    switch (section.kind) {
    case SectionKind::Schaltzeit:
    case SectionKind::MotorRecord:
    case SectionKind::SoftGzs:
        if (key)
            readSectionKey(*key, value, converted);
        return;
    default: readEveryLineSection(line, value); return;
    }
}

void ConfigFileReader::State::storeSchedule()
{
    SchaltzeitEntry &e = loaded->entry(section.weekday, section.motor, section.entry);
    const int64_t hour = section.value(Key::Stunde);
    e.Richtung = int32_t(section.value(Key::Richtung));
    e.Zeit = hour == kNoTimeHour ? 0 : timeCode(int(hour), int(section.value(Key::Minute)));
    e.Dauer = int32_t(section.value(Key::Dauer));
    e.Gruppe = int32_t(section.value(Key::Gruppe));
    e.Funktion = int32_t(section.value(Key::Funktion));
}

template <typename MotorSectionFormat>
void ConfigFileReader::State::storeMotorRecord(const MotorSectionFormat &format)
{
    auto &record = ((*loaded).*format.table)[std::size_t(section.motor - 1)];
    for (const auto &f : format.fields)
        record.*f.member = int32_t(section.value(f.key));
}

void ConfigFileReader::State::fail(const Refusal &refusal)
{
    stopped = true;
    result.ok = false;
    result.status = refusal.status;
    result.message = refusal.message;
    result.line = refusal.line;
}

void ConfigFileReader::State::line(QByteArrayView bytes)
{
    ++lineNumber;
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    if (bytes.size() > kMaxLineLength)
        bytes = bytes.first(kMaxLineLength);
    if (lineNumber == 1 && bytes.startsWith(QByteArrayView("\xEF\xBB\xBF"))) {
        bytes = bytes.sliced(3); // byte-order mark of an editor that saved UTF-8
        utf8 = true;
    }
    lastLineEmpty = bytes.isEmpty();
    if (bytes.isEmpty())
        return;
    const qsizetype eq = bytes.indexOf('=');
    try {
        if (bytes.front() == '[')
            header(bytes);
        else if (eq >= 0)
            keyLine(bytes, eq);
    } catch (const NotAnInteger &e) {
        fail({LoadResult::Status::NotAnInteger,
              QStringLiteral("'%1' ist kein gültiger Integerwert (Zeile %2)").arg(quoted(e.text), QString::number(lineNumber)),
              lineNumber});
    } catch (const Refusal &refusal) {
        fail(refusal);
    }
}

Refusal ConfigFileReader::State::endsInsideASection() const
{
    // A header cut in its middle is named as far as it goes.
    const bool cutHeader = partial.startsWith('[');
    const QByteArray header = cutHeader ? partial.left(kMaxQuotedLength) : section.header;
    const int at = cutHeader ? lineNumber + 1 : section.line;
    return {LoadResult::Status::Incomplete,
            QStringLiteral("Die Datei endet unvollständig im Abschnitt %1 (Zeile %2).").arg(quoted(header), QString::number(at)),
            at};
}

ConfigFileReader::ConfigFileReader(ConfigStore &store, SectionCallback onSection)
    : d(std::make_unique<State>(store, std::move(onSection)))
{
}

ConfigFileReader::~ConfigFileReader() = default;

bool ConfigFileReader::feed(QByteArrayView bytes)
{
    while (!bytes.isEmpty() && !d->stopped) {
        const qsizetype end = bytes.indexOf('\n');
        const QByteArrayView piece = end < 0 ? bytes : bytes.first(end);
        bytes = end < 0 ? QByteArrayView() : bytes.sliced(end + 1);
        if (end >= 0 && d->partial.isEmpty()) {
            d->line(piece); // the whole line lies in this piece
            continue;
        }
        // One byte beyond the longest line, so that its CR can still be told from its text.
        const qsizetype room = kMaxLineLength + 1 - d->partial.size();
        d->partial.append(piece.first(std::min(room, piece.size())));
        if (end >= 0) {
            d->line(d->partial);
            d->partial.clear();
        }
    }
    return !d->stopped;
}

LoadResult ConfigFileReader::finish()
{
    if (!d->stopped) {
        try {
            if (!d->sawKnownSection)
                throw Refusal{LoadResult::Status::NoSettings, QStringLiteral("Die Datei enthält keine Einstellungen."), 0};
            // The save ends every line, and the file with the empty line after its last section.
            if (!d->partial.isEmpty() || !d->lastLineEmpty)
                throw d->endsInsideASection();
            d->closeSection();
            for (int slot = 0; slot < kSlotCount; ++slot) {
                if (d->slotLine[std::size_t(slot)] > 0)
                    continue;
                // Where it belongs: before the next section the file does have, or at its end.
                int at = d->lineNumber + 1;
                for (int next = slot + 1; next < kSlotCount; ++next) {
                    if (d->slotLine[std::size_t(next)] > 0) {
                        at = d->slotLine[std::size_t(next)];
                        break;
                    }
                }
                throw Refusal{LoadResult::Status::Incomplete,
                              QStringLiteral("Die Datei ist unvollständig: Abschnitt %1 fehlt (Zeile %2).")
                                  .arg(QString::fromLatin1(slotHeader(slot)), QString::number(at)),
                              at};
            }
        } catch (const Refusal &refusal) {
            d->fail(refusal);
        }
    }
    if (d->stopped)
        return d->result;
    d->loaded->markAllPending();
    d->target = std::move(*d->loaded);
    d->stopped = true; // the store is taken; the reader is spent
    return {};
}

LoadResult readConfigFile(const QByteArray &bytes, ConfigStore &store, const SectionCallback &onSection)
{
    ConfigFileReader reader(store, onSection);
    reader.feed(bytes);
    return reader.finish();
}

} // namespace vandorelle
