// The logbook: its records as the controller sends them, through the exchange that places
// them on the page and writes the export file, and the line builder behind both.
//
// Input: byte 0 the operation (0 next page, 1 from the start, 2 export, 3 export from the
// start; bit 2: the logbook was deleted before), byte 1 seed of the chunk sizes; the rest is
// what the controller sent. The first 44 bytes of the rest also serve as raw numbers for the
// line builder, which reaches values the decimal text rarely does.

#include "config/text_codec.h"
#include "fuzz/fuzz_support.h"
#include "protocol/logbook_exchange.h"
#include "protocol/logbook_lines.h"
#include "protocol/session.h"

#include <QTemporaryDir>

#include <cstdint>
#include <cstring>
#include <memory>

using namespace vandorelle;

namespace {

QString exportPath()
{
    static QTemporaryDir dir;
    FUZZ_CHECK(dir.isValid());
    return dir.filePath(QStringLiteral("fuzz.vlg"));
}

bool hasControlCharacter(const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return true;
    }
    return false;
}

void checkLines(const LogbookEntry &entry, int32_t shown, const QString &name)
{
    const QString display = logbookDisplayLine(entry, shown, name);
    FUZZ_CHECK(!hasControlCharacter(display));
    if (entry.hasNoDate())
        FUZZ_CHECK(display == kLogbookEmptyText);

    const QString exported = logbookExportLine(entry, shown, name);
    if (!name.contains(u';'))
        FUZZ_CHECK(exported.count(u';') == 5);
    const QByteArray fileLine = logbookFileLine(exported);
    FUZZ_CHECK(fileLine.endsWith("\r\n"));
    FUZZ_CHECK(fileLine.count('\n') == 1 && fileLine.count('\r') == 1);

    for (bool end : {false, true}) {
        const LogbookPlacement place = logbookPlacement(entry.number, end);
        FUZZ_CHECK(place.line >= 0 && place.line < kLogbookPageLines);
    }
}

void checkRawValues(const QByteArray &wire)
{
    int32_t v[11] = {};
    std::memcpy(v, wire.constData(), std::min<std::size_t>(sizeof v, std::size_t(wire.size())));
    const LogbookEntry entry = LogbookEntry::fromValues(v);
    std::array<QString, kMotors> names;
    for (int m = 0; m < kMotors; ++m)
        names[m] = defaultMotorName(m);
    names[0] = fromWindows1252(wire.mid(44, 20));
    checkLines(entry, v[9], logbookMotorName(names, entry.motor));
    for (LogbookColumn column : {LogbookColumn::Display, LogbookColumn::Export})
        FUZZ_CHECK(!logbookCauseText(entry.cause, entry.subCode, column).isEmpty());
}

struct Rig {
    ConfigStore store;
    StatusModel status;
    Session session{store, status};
    fuzz::AcceptingPort port;
    LogbookExchange logbook{session};

    Rig()
    {
        session.setPort(&port);
        session.noConnection = false;
        QObject::connect(&logbook, &LogbookExchange::lineChanged, [](int index, const QString &text) {
            FUZZ_CHECK(index >= 0 && index < kLogbookPageLines);
            FUZZ_CHECK(!hasControlCharacter(text));
        });
    }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::ensureApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const int operation = data[0] & 3;
    const bool deletedBefore = data[0] & 4;
    uint32_t seed = data[1] | 0x100u;
    const QByteArray wire(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));

    checkRawValues(wire);

    auto rig = std::make_unique<Rig>();
    if (deletedBefore)
        rig->logbook.deleteLogbook();
    switch (operation) {
    case 0: FUZZ_CHECK(rig->logbook.readNextPage()); break;
    case 1: FUZZ_CHECK(rig->logbook.readFromStart()); break;
    default: FUZZ_CHECK(rig->logbook.startExport(exportPath(), operation == 3)); break;
    }
    for (qsizetype at = 0; at < wire.size();) {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        const qsizetype n = std::min<qsizetype>(1 + seed % 64, wire.size() - at);
        rig->session.receive(wire.mid(at, n), int(n));
        at += n;
    }
    FUZZ_CHECK(rig->logbook.lines().size() == kLogbookPageLines);
    FUZZ_CHECK(rig->logbook.selectedLine() >= -1 && rig->logbook.selectedLine() < kLogbookPageLines);
    return 0;
}
