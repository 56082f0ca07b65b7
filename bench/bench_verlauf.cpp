// The history window's cost per poll: the reading into the history and the repaint of the
// diagram, with a full day of readings behind it, on the real window offscreen. And the
// memory the history holds after more than a day.
#include "bench/offscreen_main.h"
#include "protocol/sensor_history.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/verlauf_plot.h"
#include "ui/verlauf_window.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>

using namespace vandorelle;

namespace {

constexpr qint64 kPollMs = 900;
constexpr qint64 kHourMs = 3600 * 1000;

// A day of weather: brightness on a day curve with clouds, gusts, rain spells, temperatures.
class Weather {
public:
    SensorReading at(qint64 ms)
    {
        const double hour = double(ms % (24 * kHourMs)) / kHourMs;
        const double sun = std::max(0.0, std::sin((hour - 6) / 14 * M_PI));
        SensorReading r;
        r.values[LuxCurrent] = float(std::clamp(255 * sun * (0.6 + 0.4 * m_unit(m_rng)), 0.0, 255.0));
        r.values[LuxMean] = float(230 * sun);
        r.values[InsideTemperature] = float(21 + std::sin(hour / 24 * 2 * M_PI));
        r.values[OutsideTemperature] = float(10 + 6 * std::sin((hour - 9) / 24 * 2 * M_PI));
        r.values[WindSpeed] = float(8 + 30 * m_unit(m_rng) * m_unit(m_rng));
        r.values[Humidity] = float(60 - 10 * sun);
        r.rain = std::fmod(hour, 5.0) < 0.4;
        return r;
    }

private:
    std::mt19937 m_rng{7};
    std::uniform_real_distribution<double> m_unit{0, 1};
};

// Resident memory of the process in bytes.
double residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096 : 0;
}

// A window with 25 hours of readings and the history window open at 760 x 480.
struct Rig {
    Rig()
    {
        qputenv("VANDORELLE_COM1", "/nonexistent/vandorelle-bench");
        ui::dialogHooks().error = [](auto *, auto &) {};
        w = std::make_unique<TQuorvix>();
        w->startUp();
        w->sensorRecorder.setClock({[this] { return now; }, [this] { return 1'750'000'000'000 + now; }});
        // Thresholds of the shading, dawn and dusk editors' motor 1.
        w->store.Beschattung[0].EinAus = 0;
        w->store.DaemmerungMorgen[0].EinAus = 0;
        w->store.DaemmerungAbend[0].EinAus = 0;
        for (now = 0; now < 25 * kHourMs; now += kPollMs)
            w->sensorRecorder.record(weather.at(now));
        verlauf = VerlaufWindow::open(w.get(), Quantity::Helligkeit);
        verlauf->resize(760, 480);
        QApplication::processEvents();
        picture = QImage(verlauf->Verlauf_Diagramm->size(), QImage::Format_ARGB32_Premultiplied);
    }

    // What one poll costs the window: the reading, then the repaint it asks for.
    void poll()
    {
        now += kPollMs;
        w->sensorRecorder.record(weather.at(now));
        verlauf->Verlauf_Diagramm->render(&picture);
    }

    qint64 now = 0;
    Weather weather;
    std::unique_ptr<TQuorvix> w;
    VerlaufWindow *verlauf = nullptr;
    QImage picture;
};

void BM_PollUpdate(benchmark::State &state)
{
    Rig rig;
    rig.verlauf->Verlauf_Zeitraum->setCurrentIndex(int(state.range(0)));
    rig.verlauf->Verlauf_Groesse->setCurrentIndex(int(state.range(1)));
    for (auto _ : state)
        rig.poll();
    state.counters["points"] = double(rig.w->sensorRecorder.history().size());
}
// Period (1 h, 6 h, 24 h) and quantity (brightness with three thresholds, temperatures).
BENCHMARK(BM_PollUpdate)
    ->ArgNames({"period", "quantity"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({2, 3})
    ->Unit(benchmark::kMicrosecond);

// The history alone: one reading into a full day.
void BM_AppendToFullHistory(benchmark::State &state)
{
    SensorHistory history;
    Weather weather;
    qint64 now = 0;
    for (; now < 25 * kHourMs; now += kPollMs)
        history.append(now, now, weather.at(now));
    const SensorReading reading = weather.at(now);
    for (auto _ : state) {
        now += kPollMs;
        history.append(now, now, reading);
    }
}
BENCHMARK(BM_AppendToFullHistory)->Unit(benchmark::kMicrosecond);

// Memory over 25 hours of polls: what the history reserves, what the process grows by when
// it is made (the rings are filled in at once), and what it grows by from the second hour
// (every path has run once) to the 25th. Run it alone (--benchmark_filter=Memory): memory
// freed by other benchmarks would be reused.
void BM_MemoryOverTwentyFiveHours(benchmark::State &state)
{
    for (auto _ : state) {
        const double before = residentBytes();
        auto history = std::make_unique<SensorHistory>();
        const double made = residentBytes();
        Weather weather;
        double warm = 0;
        for (qint64 now = 0; now < 25 * kHourMs; now += kPollMs) {
            history->append(now, now, weather.at(now));
            if (now == 2 * kHourMs)
                warm = residentBytes();
        }
        state.counters["reserved_bytes"] = double(SensorHistory::memoryBytes());
        state.counters["grown_when_made"] = made - before;
        state.counters["grown_hour_2_to_25"] = residentBytes() - warm;
        state.counters["points"] = double(history->size());
        benchmark::DoNotOptimize(history.get());
    }
}
BENCHMARK(BM_MemoryOverTwentyFiveHours)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) { return runWidgetBenchmarks(argc, argv); }
