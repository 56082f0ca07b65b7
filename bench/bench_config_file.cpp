#include "config/config_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>

using namespace vandorelle;

namespace {

// Every schedule entry in use and non-default values everywhere, so that no line is shorter
// than in a real installation.
ConfigStore fullStore()
{
    ConfigStore s;
    for (int i = 0; i < kScheduleSize; ++i) {
        SchaltzeitEntry &e = s.Schaltzeit[i];
        e.Zeit = 1 + (i * 37) % 1440;
        e.Richtung = i % 2;
        e.Dauer = i % 130;
        e.Funktion = i % 3;
    }
    for (int m = 0; m < kMotors; ++m) {
        s.MotorNamen[m] = QStringLiteral("Wohnküche %1").arg(m + 1);
        s.Beschattung[m].Helligkeit = m;
        s.HeizungsSteuerung[m].TagTemperatur = 200 + m;
    }
    return s;
}

void BM_WriteConfigFile(benchmark::State &state)
{
    const ConfigStore store = fullStore();
    for (auto _ : state)
        benchmark::DoNotOptimize(writeConfigFile(store));
}
BENCHMARK(BM_WriteConfigFile)->Unit(benchmark::kMillisecond);

void BM_ReadConfigFile(benchmark::State &state)
{
    const QByteArray bytes = writeConfigFile(fullStore());
    ConfigStore store;
    for (auto _ : state)
        benchmark::DoNotOptimize(readConfigFile(bytes, store));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ReadConfigFile)->Unit(benchmark::kMillisecond);

// Through the file system: the atomic save (temporary file, rename) and the streaming load.
void BM_SaveConfigFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("anlage.vsk"));
    const ConfigStore store = fullStore();
    for (auto _ : state) {
        if (!saveConfigFile(path, store).isEmpty())
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveConfigFile)->Unit(benchmark::kMillisecond);

void BM_LoadConfigFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("anlage.vsk"));
    saveConfigFile(path, fullStore());
    ConfigStore store;
    for (auto _ : state) {
        if (!loadConfigFile(path, store).ok)
            state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_LoadConfigFile)->Unit(benchmark::kMillisecond);

// A valid file followed by 10 MB of lines of uneven length (0 to 199 bytes), as a file
// damaged by another program may be: the cost is in how the bytes reach the reader.
void BM_LoadUnevenLines(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("uneven.vsk"));
    QByteArray bytes = writeConfigFile(fullStore());
    uint32_t length = 1;
    while (bytes.size() < 10 * 1024 * 1024) {
        length = (length * 1103515245u + 12345u) % 200u;
        bytes += QByteArray(qsizetype(length), 'x') + "\r\n";
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        state.SkipWithError("cannot write the file");
        return;
    }
    file.close();
    bytes = {};
    // glibc raises its mmap threshold after this process freed the big buffers above; a
    // window or command line that loads its first file runs with the initial one.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    ConfigStore store;
    for (auto _ : state)
        benchmark::DoNotOptimize(loadConfigFile(path, store));
    state.SetBytesProcessed(state.iterations() * file.size());
}
BENCHMARK(BM_LoadUnevenLines)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
