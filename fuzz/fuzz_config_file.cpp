// The configuration-file loader as the window and the command line run it: any bytes a user
// may pick in the open dialog, read from a file on disk.
//
// Checks: a load either succeeds or leaves the store exactly as it was, nothing marked pending;
// whatever loads lies in every field's range; no strict prefix of a file that loads loads as
// well; fed in pieces of any size the reader agrees with the load from disk; every view the
// window redraws can be drawn from what was loaded; and what loaded, once saved, loads again
// and saves to the very same bytes.

#include "config/config_file.h"
#include "config/config_file_format.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/views.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <memory>

using namespace vandorelle;

namespace {

const QString &diskPath()
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("fuzz.vsk"));
    return path;
}

// Loads bytes the way the open dialog's file is loaded: written to disk, read from there.
LoadResult loadFromDisk(QByteArrayView bytes, ConfigStore &store)
{
    QFile file(diskPath());
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes.data(), bytes.size()) == bytes.size());
    file.close();
    return loadConfigFile(diskPath(), store);
}

// What the store holds before every load: neither start values nor all pending, so that a
// refused load that changed anything shows.
const ConfigStore &storeBefore()
{
    static const ConfigStore store = [] {
        ConfigStore s;
        s.clearAllPending();
        s.MotorNamen[0] = QStringLiteral("vorher");
        s.entry(1, 1, 1).Zeit = timeCode(6, 30);
        s.Beschattung[0].Temperatur = 3;
        s.SoftGZS = true;
        return s;
    }();
    return store;
}

void checkRanges(const ConfigStore &store)
{
    cfgfile::forEachRangedValue(store, [](const char *section, int32_t value, const cfgfile::CodeRange &range) {
        if (!range.contains(value)) {
            std::fprintf(stderr, "%s: %d lies outside %d..%d\n", section, value, range.first, range.last);
            std::abort();
        }
    });
}

// Piece sizes from 1 to 61 bytes that change from piece to piece, seeded by the input.
LoadResult readInPieces(QByteArrayView bytes, ConfigStore &store)
{
    ConfigFileReader reader(store);
    unsigned step = bytes.isEmpty() ? 1 : unsigned(uint8_t(bytes.back())) % 61 + 1;
    for (qsizetype pos = 0; pos < bytes.size(); pos += step, step = step * 7 % 61 + 1) {
        if (!reader.feed(bytes.sliced(pos, std::min<qsizetype>(step, bytes.size() - pos))))
            break;
    }
    return reader.finish();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    auto store = std::make_unique<ConfigStore>(storeBefore());
    const LoadResult result = loadFromDisk(bytes, *store);
    FUZZ_CHECK(result.ok == result.message.isEmpty());
    FUZZ_CHECK(result.ok == (result.status == LoadResult::Status::Loaded));
    if (result.ok) {
        FUZZ_CHECK(store->allPending());
        checkRanges(*store);
    } else {
        FUZZ_CHECK(*store == storeBefore());
    }

    auto pieces = std::make_unique<ConfigStore>(storeBefore());
    const LoadResult piecesResult = readInPieces(bytes, *pieces);
    FUZZ_CHECK(piecesResult.status == result.status && piecesResult.line == result.line
               && piecesResult.message == result.message);
    FUZZ_CHECK(*pieces == *store);
    if (!result.ok)
        return 0;
    fuzz::drawEveryView(*store);

    // The last byte, the last lines and one place anywhere: a file cut there is not whole.
    const qsizetype lastLines = bytes.first(size > 2 ? size - 2 : 0).lastIndexOf('\n') + 1;
    const qsizetype anywhere = qsizetype((size_t(data[size / 2]) * 65599u + size) % size);
    for (const qsizetype cut : {qsizetype(size) - 1, lastLines, anywhere}) {
        auto prefix = std::make_unique<ConfigStore>(storeBefore());
        const LoadResult cutResult = loadFromDisk(bytes.first(cut), *prefix);
        FUZZ_CHECK(!cutResult.ok);
        FUZZ_CHECK(*prefix == storeBefore());
    }

    const QByteArray saved = writeConfigFile(*store);
    auto reloaded = std::make_unique<ConfigStore>();
    const LoadResult again = readConfigFile(saved, *reloaded);
    FUZZ_CHECK(again.ok);
    FUZZ_CHECK(writeConfigFile(*reloaded) == saved);
    return 0;
}
