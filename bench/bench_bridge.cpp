// vandorelle-bridge end to end: a real mosquitto, the bridge as its own process, and the
// emulated controller in this process on the master side of a pseudo-terminal, so that the
// moment a byte reaches the line and the moment an answer leaves it are known exactly.
// The pseudo-terminal has no baud rate: what is measured is the bridge, not 9600 baud.
#include "mqtt_rig.h"
#include "sim/controller.h"
#include "support/pty_pair.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>

#include <benchmark/benchmark.h>

#include <atomic>
#include <memory>
#include <poll.h>
#include <thread>
#include <unistd.h>

using namespace vandorelle;
using namespace vandorelle::test;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kBoundMs = 30000;
const QString kId = QStringLiteral("bench");

// The controller's end of the line: every byte that arrives is noted with its time, every
// sensor answer with the time it left.
class Line {
public:
    Line() : m_thread([this] { run(); }) {}
    ~Line()
    {
        m_stop = true;
        m_thread.join();
    }
    QString path() const { return m_pty.slavePath(); }

    qsizetype received() const
    {
        std::lock_guard lock(m_mutex);
        return m_bytes.size();
    }
    qsizetype count(const QByteArray &text) const
    {
        std::lock_guard lock(m_mutex);
        return m_bytes.count(text);
    }
    // When the chunk holding the first text at or after byte `from` arrived.
    std::optional<Clock::time_point> waitFor(const QByteArray &text, qsizetype from, int boundMs)
    {
        std::unique_lock lock(m_mutex);
        qsizetype at = -1;
        if (!m_arrived.wait_for(lock, std::chrono::milliseconds(boundMs),
                                [&] { return (at = m_bytes.indexOf(text, from)) >= 0; }))
            return std::nullopt;
        auto chunk = std::upper_bound(m_chunks.begin(), m_chunks.end(), at,
                                      [](qsizetype offset, const auto &c) { return offset < c.first; });
        return std::prev(chunk)->second;
    }
    // The last sensor answer sent before t.
    std::optional<Clock::time_point> sensorAnswerBefore(Clock::time_point t) const
    {
        std::lock_guard lock(m_mutex);
        auto it = std::lower_bound(m_sensorAnswers.begin(), m_sensorAnswers.end(), t);
        if (it == m_sensorAnswers.begin())
            return std::nullopt;
        return *std::prev(it);
    }

private:
    void run()
    {
        QElapsedTimer monotonic;
        monotonic.start();
        sim::ControllerSettings settings;
        settings.timeScale = 1440; // weather that changes from one answer to the next
        sim::EmulatedController controller(settings, [this](const QByteArray &frame) {
            m_pty.writeMaster(frame);
            if (frame.startsWith("start_skd")) {
                std::lock_guard lock(m_mutex);
                m_sensorAnswers.push_back(Clock::now());
            }
        }, &QDateTime::currentDateTime, monotonic.elapsed());
        controller.setFlowSink([this](char c) { m_pty.writeMaster(QByteArray(1, c)); });
        constexpr qint64 kTickMs = 250;
        qint64 nextTick = 0;
        char buffer[4096];
        while (!m_stop) {
            pollfd fd{m_pty.masterFd(), POLLIN, 0};
            ::poll(&fd, 1, 5);
            if (fd.revents & POLLIN) {
                const ssize_t n = ::read(m_pty.masterFd(), buffer, sizeof buffer);
                if (n > 0) {
                    const QByteArray bytes(buffer, n);
                    {
                        std::lock_guard lock(m_mutex);
                        m_chunks.emplace_back(m_bytes.size(), Clock::now());
                        m_bytes += bytes;
                    }
                    m_arrived.notify_all();
                    controller.receive(bytes, monotonic.elapsed());
                }
            }
            controller.advance(monotonic.elapsed());
            if (monotonic.elapsed() >= nextTick) {
                controller.tick(monotonic.elapsed());
                nextTick = monotonic.elapsed() + kTickMs;
            }
        }
    }

    PtyPair m_pty;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::condition_variable m_arrived;
    QByteArray m_bytes;
    std::vector<std::pair<qsizetype, Clock::time_point>> m_chunks; // offset of each read
    std::vector<Clock::time_point> m_sensorAnswers;
    std::thread m_thread;
};

struct Rig {
    Broker broker;
    Line line;
    BridgeProcess bridge;
    std::unique_ptr<Subscriber> watcher;
    BridgeTopics topics{kId};
    QString error;

    bool start()
    {
        if (!broker.start()) {
            error = broker.error();
            return false;
        }
        watcher = std::make_unique<Subscriber>(broker.port(), QStringList{topics.of("#")});
        if (!watcher->waitConnected()
            || !bridge.start({"--port", line.path(), "--broker", QStringLiteral("127.0.0.1:%1").arg(broker.port()),
                              "--id", kId, "--user", Broker::kUser, "--password-file", broker.passwordFile()})
            || !watcher->waitForPayload(topics.of("status"), "online", kBoundMs)) {
            error = QStringLiteral("the bridge did not come online:\n") + bridge.log();
            return false;
        }
        return true;
    }
};

Rig *g_rig = nullptr;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double maximum(const std::vector<double> &v) { return *std::max_element(v.begin(), v.end()); }

// From the command's publication to the first byte of manual control on the line. The bridge
// reckons with the line's 9600 baud: a command waits until the previous one (22 characters,
// 23 ms) or a poll (20 characters) has had its time on the wire. So each command comes when
// the line is free of the previous one, at another point of the 900 ms poll cycle.
void BM_CommandToFirstByteOnTheLine(benchmark::State &state)
{
    static int n = 0;
    for (auto _ : state) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50 + n * 137 % 900));
        const qsizetype from = g_rig->line.received();
        const auto sent = Clock::now();
        g_rig->watcher->publish(g_rig->topics.of("motor/3/set"), ++n % 2 ? "CLOSE" : "OPEN");
        const auto arrived = g_rig->line.waitFor(" rh", from, kBoundMs);
        if (!arrived) {
            state.SkipWithError("the command did not reach the line");
            return;
        }
        state.SetIterationTime(seconds(*arrived - sent));
    }
}
BENCHMARK(BM_CommandToFirstByteOnTheLine)
    ->UseManualTime()->Iterations(1)->Repetitions(60)->ReportAggregatesOnly(true)->ComputeStatistics("max", maximum)
    ->Unit(benchmark::kMillisecond);

QByteArray sensorsOf(const QByteArray &stateDocument)
{
    const QJsonObject sensors = QJsonDocument::fromJson(stateDocument).object().value("sensors").toObject();
    return QJsonDocument(sensors).toJson(QJsonDocument::Compact);
}

// From a sensor answer leaving the controller to the state document that shows it at the
// broker's subscriber (answers that change nothing publish nothing, and are not counted).
void BM_PollAnswerToPublishedState(benchmark::State &state)
{
    static QByteArray shown;
    const QString stateTopic = g_rig->topics.of("state");
    for (auto _ : state) {
        qsizetype next = g_rig->watcher->messages().size();
        Message hit;
        const bool changed = g_rig->watcher->waitUntil([&](const QList<Message> &all) {
            for (; next < all.size(); ++next) {
                if (all[next].topic != stateTopic)
                    continue;
                const QByteArray sensors = sensorsOf(all[next].payload);
                if (sensors != shown) {
                    shown = sensors;
                    hit = all[next];
                    return true;
                }
            }
            return false;
        }, kBoundMs);
        const auto answered = changed ? g_rig->line.sensorAnswerBefore(hit.arrived) : std::nullopt;
        if (!answered) {
            state.SkipWithError("no state document followed a sensor answer");
            return;
        }
        state.SetIterationTime(seconds(hit.arrived - *answered));
    }
}
BENCHMARK(BM_PollAnswerToPublishedState)
    ->UseManualTime()->Iterations(1)->Repetitions(30)->ReportAggregatesOnly(true)->ComputeStatistics("max", maximum)
    ->Unit(benchmark::kMillisecond);

// Resident memory while idle and at most, after a burst of 1000 commands to all 32 motors.
void BM_ResidentMemory(benchmark::State &state)
{
    for (auto _ : state) {
        const char *words[] = {"OPEN", "CLOSE", "STOP"};
        for (int i = 0; i < 1000; ++i)
            g_rig->watcher->publish(g_rig->topics.of(QStringLiteral("motor/%1/set").arg(i % 32 + 1)), words[i % 3]);
        // Done when no further command has reached the line for a second (within a minute).
        qsizetype commands = -1;
        for (int second = 0; second < 60 && commands != g_rig->line.count(" rhb"); ++second) {
            commands = g_rig->line.count(" rhb");
            std::this_thread::sleep_for(std::chrono::seconds(1));
        }
        state.SetIterationTime(1);
    }
    state.counters["resident_MiB"] = double(g_rig->bridge.memoryKiB("VmRSS")) / 1024;
    state.counters["peak_MiB"] = double(g_rig->bridge.memoryKiB("VmHWM")) / 1024;
}
BENCHMARK(BM_ResidentMemory)->UseManualTime()->Iterations(1);

// CPU of the idle bridge (polling, no commands) over VANDORELLE_IDLE_SECONDS (default 30).
void BM_IdleCpu(benchmark::State &state)
{
    const int window = qEnvironmentVariableIntValue("VANDORELLE_IDLE_SECONDS") > 0
                           ? qEnvironmentVariableIntValue("VANDORELLE_IDLE_SECONDS")
                           : 30;
    double used = 0;
    for (auto _ : state) {
        const double before = g_rig->bridge.cpuSeconds();
        std::this_thread::sleep_for(std::chrono::seconds(window));
        used = g_rig->bridge.cpuSeconds() - before;
        state.SetIterationTime(window);
    }
    state.counters["cpu_percent"] = 100 * used / window;
    state.counters["seconds"] = window;
}
BENCHMARK(BM_IdleCpu)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    auto rig = std::make_unique<Rig>();
    if (!rig->start()) {
        std::fprintf(stderr, "bench_bridge: %s\n", qPrintable(rig->error));
        return 1;
    }
    g_rig = rig.get();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_rig = nullptr;
    return 0;
}
