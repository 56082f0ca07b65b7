#include "link/serial_port.h"

#include "support/pty_pair.h"

#include <QCoreApplication>
#include <QDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <unistd.h>

using namespace vandorelle;
using namespace std::chrono_literals;
using vandorelle::test::PtyPair;

namespace {

const QString kPortIsOpen = QStringLiteral("Can't perform this operation while port is open");
const QString kBufferFull = QStringLiteral("Output buffer is full. Please check comm status.");

// Runs the owner thread's event loop until done() holds or the limit passes.
bool pumpUntil(const std::function<bool()> &done, std::chrono::milliseconds limit = 5s)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

void pumpFor(std::chrono::milliseconds span)
{
    pumpUntil([] { return false; }, span);
}

// Ends the whole run if a call that must return does not: a hang is a failure, not a wait.
class HangGuard {
public:
    explicit HangGuard(const char *what, std::chrono::seconds limit = 10s)
        : m_thread([this, what, limit] {
              std::unique_lock lock(m_mutex);
              if (!m_released.wait_for(lock, limit, [this] { return m_done; })) {
                  std::fprintf(stderr, "hung: %s\n", what);
                  std::abort();
              }
          })
    {
    }
    ~HangGuard()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_released.notify_all();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_done = false;
    std::thread m_thread;
};

QString openError(TVaComm &port)
{
    try {
        port.Open();
    } catch (const EVaCommError &e) {
        return e.message();
    }
    return {};
}

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}

double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

QByteArray pattern(int length, char seed)
{
    QByteArray bytes(length, Qt::Uninitialized);
    for (int i = 0; i < length; ++i)
        bytes[i] = char('A' + (seed + i) % 26);
    return bytes;
}

struct PortOnPty : ::testing::Test {
    PtyPair pty;
    TVaComm port;

    void SetUp() override
    {
        port.setDeviceOverride(pty.slavePath());
        port.setBaudrate(Baudrate::br9600);
    }
};

} // namespace

TEST(SerialPortNaming, PortNumbersSelectDevicesAndEnvironmentOverrides)
{
    qunsetenv("VANDORELLE_COM3");
    EXPECT_EQ(deviceForPort(1), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(deviceForPort(8), QStringLiteral("/dev/ttyS7"));
    EXPECT_EQ(deviceForPort(3), QStringLiteral("/dev/ttyS2"));
    qputenv("VANDORELLE_COM3", "/tmp/some-line");
    EXPECT_EQ(deviceForPort(3), QStringLiteral("/tmp/some-line"));
    EXPECT_EQ(deviceForPort(4), QStringLiteral("/dev/ttyS3"));

    TVaComm port;
    port.setPortNum(3);
    EXPECT_EQ(port.DeviceName(), QStringLiteral("/tmp/some-line"));
    port.setDeviceOverride(QStringLiteral("/dev/pts/77"));
    EXPECT_EQ(port.DeviceName(), QStringLiteral("/dev/pts/77"));
    port.setDeviceOverride({});
    EXPECT_EQ(port.DeviceName(), QStringLiteral("/tmp/some-line"));
    qunsetenv("VANDORELLE_COM3");
}

TEST(SerialPortOpen, FailuresNameTheDeviceAndLeaveThePortClosed)
{
    const int descriptorsBefore = openDescriptors();

    qputenv("VANDORELLE_COM5", "/nonexistent/vandorelle-line");
    TVaComm port;
    port.setPortNum(5);
    EXPECT_EQ(openError(port), QStringLiteral("Specified device not found (/nonexistent/vandorelle-line)."));
    EXPECT_FALSE(port.Active());
    qunsetenv("VANDORELLE_COM5");

    port.setDeviceOverride(QStringLiteral("/tmp"));
    EXPECT_EQ(openError(port), QStringLiteral("Can't open specified device /tmp (Error 21, Is a directory)"));

    // Opens fine but is no serial line: the settings step fails and the device is closed again.
    port.setDeviceOverride(QStringLiteral("/dev/null"));
    EXPECT_EQ(openError(port), QStringLiteral("Error writing dcb (25), Inappropriate ioctl for device"));
    EXPECT_FALSE(port.Active());
    EXPECT_FALSE(port.QueueText("x"));

    EXPECT_EQ(openDescriptors(), descriptorsBefore);
}

TEST_F(PortOnPty, IsExclusiveAndRefusesIdentityChangesWhileOpen)
{
    port.setPortNum(2);
    ASSERT_EQ(openError(port), QString());
    ASSERT_TRUE(port.Active());

    TVaComm second;
    second.setDeviceOverride(pty.slavePath());
    EXPECT_TRUE(openError(second).startsWith(QStringLiteral("Can't open specified device %1 (Error ").arg(pty.slavePath())));
    EXPECT_FALSE(second.Active());

    EXPECT_EQ(openError(port), kPortIsOpen);
    const auto refused = [](const std::function<void()> &change) {
        try {
            change();
        } catch (const EVaCommError &e) {
            return e.message();
        }
        return QString();
    };
    EXPECT_EQ(refused([&] { port.setPortNum(4); }), kPortIsOpen);
    EXPECT_EQ(port.PortNum(), 2);
    EXPECT_EQ(refused([&] { port.setDeviceOverride(QStringLiteral("/dev/null")); }), kPortIsOpen);
    EXPECT_EQ(port.DeviceName(), pty.slavePath());
    EXPECT_EQ(refused([&] { port.Buffers().WriteSize = 10; }), kPortIsOpen);
    EXPECT_EQ(std::as_const(port).Buffers().WriteSize, 24096);

    // Closing frees the line for the next user, and the same port opens it again.
    port.Close();
    EXPECT_FALSE(port.Active());
    EXPECT_EQ(openError(second), QString());
    second.Close();
    EXPECT_EQ(openError(port), QString());
    EXPECT_TRUE(port.QueueText("again"));
    EXPECT_EQ(pty.readMaster(5), QByteArray("again"));
}

TEST_F(PortOnPty, OpenSetsRawLineWithSoftwareFlowControl)
{
    ASSERT_EQ(openError(port), QString());
    termios t = pty.slaveSettings();
    EXPECT_EQ(cfgetospeed(&t), speed_t(B9600));
    EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), tcflag_t(IXON | IXOFF));
    EXPECT_EQ(t.c_iflag & (IXANY | ICRNL | INLCR | ISTRIP), 0u);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_cc[VSTART], 17);
    EXPECT_EQ(t.c_cc[VSTOP], 19);

    // Line settings apply to the open device at once (a pseudo-terminal keeps 8 bits, no parity).
    port.setBaudrate(Baudrate::br19200);
    port.setStopbits(Stopbits::sb2);
    t = pty.slaveSettings();
    EXPECT_EQ(cfgetospeed(&t), speed_t(B19200));
    EXPECT_EQ(t.c_cflag & (CSIZE | PARENB | CSTOPB), tcflag_t(CS8 | CSTOPB));

    // A driver that silently keeps other framing must not pass for success.
    try {
        port.setParity(Parity::paEven);
        ADD_FAILURE() << "parity reported as set on a line that has none";
    } catch (const EVaCommError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Error writing dcb (22), Invalid argument"));
    }
    port.setParity(Parity::paNone);

    // Rates without a speed constant still get through.
    EXPECT_NO_THROW(port.setBaudrate(Baudrate::br14400));

    try {
        port.setDatabits(Databits::db4);
        ADD_FAILURE() << "four data bits accepted";
    } catch (const EVaCommError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Error writing dcb (22), Invalid argument"));
    }
    EXPECT_TRUE(port.Active());
}

TEST_F(PortOnPty, QueuedTextsGoOutInOrderWhole)
{
    int txEmpty = 0;
    QObject::connect(&port, &TVaComm::OnTxEmpty, [&] { ++txEmpty; });
    ASSERT_EQ(openError(port), QString());

    EXPECT_TRUE(port.QueueText("sbp"));
    EXPECT_TRUE(port.QueueText("start_sdm01ende_"));
    EXPECT_TRUE(port.QueueText(QByteArray()));
    EXPECT_EQ(pty.readMaster(19), QByteArray("sbpstart_sdm01ende_"));

    // Many texts together larger than one write of the thread.
    QByteArray expected;
    for (int i = 0; i < 12; ++i) {
        const QByteArray text = pattern(1500 + i, char(i));
        expected += text;
        EXPECT_TRUE(port.QueueText(text));
    }
    EXPECT_EQ(pty.readMaster(expected.size()), expected);
    EXPECT_TRUE(pumpUntil([&] { return txEmpty > 0; }));
}

TEST_F(PortOnPty, ClosedPortSendsNothingAndRaisesNothing)
{
    int errors = 0;
    QObject::connect(&port, &TVaComm::OnError, [&] { ++errors; });

    EXPECT_FALSE(port.QueueText("never opened"));
    ASSERT_EQ(openError(port), QString());
    port.Close();
    port.Close(); // twice is harmless
    EXPECT_FALSE(port.QueueText("after close"));
    EXPECT_FALSE(port.QueueText(QByteArray()));
    EXPECT_TRUE(port.ReadAvailable().isEmpty());
    pumpFor(100ms);
    EXPECT_TRUE(pty.drainMaster().isEmpty());
    EXPECT_EQ(errors, 0);
}

TEST_F(PortOnPty, ReceivedBurstArrivesOnOwnerThreadComplete)
{
    QByteArray received;
    int events = 0;
    bool offThread = false;
    QObject::connect(&port, &TVaComm::OnRxChar, [&](int count) {
        ++events;
        EXPECT_GT(count, 0);
        offThread |= QThread::currentThread() != QCoreApplication::instance()->thread();
        received += port.ReadAvailable();
    });
    ASSERT_EQ(openError(port), QString());

    QByteArray burst;
    for (int i = 0; i < 6; ++i)
        burst += "start_sbp" + pattern(300, char(i)) + "ende_";
    pty.writeMaster(burst);
    EXPECT_TRUE(pumpUntil([&] { return received.size() >= burst.size(); }));
    EXPECT_EQ(received, burst);
    EXPECT_GE(events, 1);
    EXPECT_FALSE(offThread);
    EXPECT_TRUE(port.ReadAvailable().isEmpty());
}

TEST_F(PortOnPty, ThrowingOrIdleHandlersNeitherStopNorFloodTheEvents)
{
    int events = 0;
    QObject::connect(&port, &TVaComm::OnRxChar, [&](int) {
        ++events;
        throw std::runtime_error("handler failed");
    });
    ASSERT_EQ(openError(port), QString());

    pty.writeMaster("abc");
    ASSERT_TRUE(pumpUntil([&] { return events >= 1; }));
    // The input stays unread: no new characters, no new events.
    pumpFor(300ms);
    EXPECT_EQ(events, 1);

    pty.writeMaster("def");
    ASSERT_TRUE(pumpUntil([&] { return events >= 2; }));
    EXPECT_EQ(port.ReadAvailable(), QByteArray("abcdef"));
}

TEST_F(PortOnPty, XoffFromFarEndFillsBufferUntilTimeoutAndXonReleasesIt)
{
    port.Buffers().WriteTimeout = 200;
    ASSERT_EQ(openError(port), QString());
    pty.writeMaster("\x13");
    pumpFor(50ms);

    QByteArray queued;
    QString failure;
    for (int i = 0; i < 200 && failure.isEmpty(); ++i) {
        const QByteArray text = pattern(4000, char(i));
        try {
            ASSERT_TRUE(port.QueueText(text));
            queued += text;
        } catch (const EVaCommError &e) {
            failure = e.message();
            EXPECT_FALSE(e.repeated()) << "the first failure of a stall is news";
        }
    }
    EXPECT_EQ(failure, kBufferFull);
    EXPECT_TRUE(port.Active());
    try {
        port.QueueText(pattern(4000, 'x'));
        ADD_FAILURE() << "a full buffer took more";
    } catch (const EVaCommError &e) {
        EXPECT_TRUE(e.repeated()) << "the same stall, told once";
    }

    // Nothing was lost, and the refused text did not go out in part.
    pty.writeMaster("\x11");
    EXPECT_EQ(pty.readMaster(queued.size()), queued);
    EXPECT_TRUE(pty.drainMaster().isEmpty());

    // A text that can never fit is refused, and the port keeps working.
    try {
        port.QueueText(QByteArray(24097, 'x'));
        ADD_FAILURE() << "oversized text accepted";
    } catch (const EVaCommError &e) {
        EXPECT_EQ(e.message(), kBufferFull);
    }
    EXPECT_TRUE(port.QueueText("ok"));
    EXPECT_EQ(pty.readMaster(2), QByteArray("ok"));
}

TEST_F(PortOnPty, CloseStopsAStoppedLineAndTheNextOpenSendsAgain)
{
    ASSERT_EQ(openError(port), QString());
    pty.writeMaster("\x13");
    pumpFor(50ms);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(port.QueueText(pattern(4000, char(i))));
    {
        HangGuard guard("Close with output stopped by XOFF");
        port.Close();
    }
    EXPECT_FALSE(port.Active());
    pty.drainMaster();

    ASSERT_EQ(openError(port), QString());
    EXPECT_TRUE(port.QueueText("fresh"));
    EXPECT_EQ(pty.readMaster(5), QByteArray("fresh"));
}

TEST_F(PortOnPty, CloseWhileAHandOverWaitsDropsIt)
{
    int events = 0;
    QObject::connect(&port, &TVaComm::OnRxChar, [&](int) { ++events; });
    ASSERT_EQ(openError(port), QString());

    // The event thread now waits for an owner thread that is busy closing.
    pty.writeMaster("pending");
    std::this_thread::sleep_for(150ms);
    {
        HangGuard guard("Close during a hand-over");
        port.Close();
    }
    pumpFor(100ms);
    EXPECT_EQ(events, 0);

    // A handler may close the port from inside the event, too.
    QObject::disconnect(&port, &TVaComm::OnRxChar, nullptr, nullptr);
    QObject::connect(&port, &TVaComm::OnRxChar, [&](int) {
        ++events;
        port.Close();
    });
    ASSERT_EQ(openError(port), QString());
    pty.writeMaster("more");
    EXPECT_TRUE(pumpUntil([&] { return events == 1; }));
    EXPECT_FALSE(port.Active());
}

TEST_F(PortOnPty, FarEndGoneRaisesOneErrorWithoutSpinning)
{
    std::vector<int> errors;
    QObject::connect(&port, &TVaComm::OnError, [&](int bits) {
        errors.push_back(bits);
        EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
    });
    ASSERT_EQ(openError(port), QString());

    pty.closeMaster();
    port.QueueText("into the void"); // the write thread may meet the loss first
    ASSERT_TRUE(pumpUntil([&] { return !errors.empty(); }));
    pumpFor(200ms);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0] & (LineError::Hangup | LineError::WriteFailed), 0);

    const double cpuBefore = processCpuSeconds();
    std::this_thread::sleep_for(300ms);
    pumpFor(10ms);
    EXPECT_LT(processCpuSeconds() - cpuBefore, 0.15) << "a thread keeps polling the dead line";
    EXPECT_EQ(errors.size(), 1u);

    EXPECT_TRUE(port.Active());
    EXPECT_FALSE(port.QueueText("lost"));
    port.Close();
    EXPECT_FALSE(port.Active());
}

TEST_F(PortOnPty, AFloodIsTakenInBoundedPiecesAndTheOwnerThreadKeepsRunning)
{
    ASSERT_EQ(openError(port), QString());
    qsizetype largest = 0;
    qint64 total = 0;
    QObject::connect(&port, &TVaComm::OnRxChar, [&](int) {
        const QByteArray piece = port.ReadAvailable();
        largest = qMax(largest, piece.size());
        total += piece.size();
    });
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
    tick.start(20);

    std::atomic<bool> flooding{true};
    std::thread flood([&] {
        QByteArray noise(256 * 1024, Qt::Uninitialized);
        for (qsizetype i = 0; i < noise.size(); ++i)
            noise[i] = char(std::rand());
        while (flooding) {
            const ssize_t n = ::write(pty.masterFd(), noise.constData(), size_t(noise.size()));
            if (n < 0)
                std::this_thread::sleep_for(100us);
        }
    });
    pumpFor(1500ms);
    flooding = false;
    flood.join();

    EXPECT_GT(total, TVaComm::kMaxReadChunk);
    EXPECT_LE(largest, TVaComm::kMaxReadChunk);
    EXPECT_GT(ticks, 5) << "timers of the owner thread starved";
}
