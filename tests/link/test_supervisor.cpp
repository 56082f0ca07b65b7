#include "config/settings_file.h"
#include "link/serial_port.h"
#include "link/supervisor.h"
#include "support/fake_port.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace vandorelle::test {
namespace {

QByteArray frame(const char *tag, const QByteArray &payload)
{
    return QByteArray("start_") + tag + payload + "ende_";
}

// Characters 9, 13, 14, 15, 16 carry the family.
QString modelString(char c9, char c13, char c14, char c15, char c16)
{
    return QStringLiteral("QRX-RS-0") + QChar(c9) + QStringLiteral("000") + QChar(c13) + QChar(c14) + QChar(c15)
        + QChar(c16);
}

// What the supervisor announced.
struct Announcements {
    int notConnected = 0;
    QList<DeviceFlags> adapted;
    QStringList refusals;
    QStringList errors;

    explicit Announcements(Supervisor &s)
    {
        QObject::connect(&s, &Supervisor::showNotConnected, [this] { ++notConnected; });
        QObject::connect(&s, &Supervisor::adaptWindow, [this](const DeviceFlags &f) { adapted << f; });
        QObject::connect(&s, &Supervisor::firmwareRefused, [this](const QString &t) { refusals << t; });
        QObject::connect(&s, &Supervisor::errorMessage, [this](const QString &t) { errors << t; });
    }
};

struct SupervisorFixture {
    ConfigStore store;
    StatusModel status;
    Session session{store, status};
    FakePort port;
    QTimer poll, watchdog, timeSignal;
    Supervisor supervisor{session};
    Announcements seen{supervisor};
    QTemporaryDir dir;

    SupervisorFixture()
    {
        session.setPort(&port);
        supervisor.setTimers(&poll, &watchdog, &timeSignal);
        supervisor.settingsDirectory = dir.path();
        status.setPanel(StatusModel::Model, kKeineVerbindung);
        poll.start(900);
        watchdog.start(2500);
    }
    void answer(const char *tag, const QString &payload)
    {
        const QByteArray bytes = frame(tag, payload.toLatin1());
        session.receive(bytes, int(bytes.size()));
    }
    void connect(const QString &model, const QString &firmware = QStringLiteral("7.090"))
    {
        answer("sfi", firmware);
        answer("smo", model);
    }
};

TEST(Supervisor, SilentControllerIsPolledAndStaysUnconnected)
{
    SupervisorFixture f;
    for (int p : {1, 2, 3})
        f.status.setPanel(p, QStringLiteral("old"));

    for (int tick = 1; tick <= 3; ++tick) {
        f.supervisor.Timer1Timer();
        EXPECT_EQ(f.status.panel(StatusModel::Transmitted), QStringLiteral("TxD: %1").arg(20 * tick));
    }
    EXPECT_EQ(f.port.writes.size(), 15);
    EXPECT_EQ(f.port.texts().mid(0, 5), QStringList({"sfi\r", "sdt\r", "sti\r", "skd\r", "smo\r"}));
    EXPECT_EQ(f.seen.notConnected, 3);
    EXPECT_TRUE(f.seen.adapted.isEmpty());
    EXPECT_TRUE(f.session.noConnection);
    EXPECT_EQ(f.supervisor.dot, DotState::RedSquare);
    for (int p : {1, 2, 3})
        EXPECT_EQ(f.status.panel(p), "");
    EXPECT_EQ(f.port.count("slr"), 0);
}

TEST(Supervisor, ModelStringsOfEveryFamily)
{
    struct Case {
        QString model;
        DeviceFlags flags;
        bool known;
    };
    const DeviceFlags none{};
    auto with = [](auto change) {
        DeviceFlags f{};
        change(f);
        return f;
    };
    const Case cases[] = {
        {modelString('W', '9', 'S', 'T', 'G'), with([](DeviceFlags &f) {
             f.ShadingFamily = f.ConservatoryFamily = f.TastPresent = f.GzsPresent = true;
         }), true},
        {modelString('R', '9', 'S', 'F', '-'), with([](DeviceFlags &f) {
             f.ShadingFamily = f.TastFunk = f.TastPresent = true;
         }), true},
        {modelString('R', '8', '-', '-', 'G'), with([](DeviceFlags &f) {
             f.GzsPresent = true;
             f.BankModel = false;
         }), true},
        {modelString('W', '4', '-', '-', '-'), with([](DeviceFlags &f) {
             f.ConservatoryFamily = true;
             f.BankModel = f.EightEntries = false;
         }), true},
        {modelString('R', '0', 'S', '-', '-'), with([](DeviceFlags &f) {
             f.ShadingFamily = true;
             f.BankModel = f.EightEntries = false;
         }), true},
        {QStringLiteral("QRX-RS-0W00"), with([](DeviceFlags &f) { f.ConservatoryFamily = true; }), false},
        {modelString('R', 'X', 'S', 'T', 'G'), with([](DeviceFlags &f) {
             f.ShadingFamily = f.TastPresent = f.GzsPresent = true;
         }), false},
        {QString(), none, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.model.toStdString());
        const ModelEvaluation e = evaluateModel(c.model);
        EXPECT_EQ(e.flags, c.flags);
        EXPECT_EQ(e.known, c.known);

        SupervisorFixture f;
        f.connect(c.model);
        f.supervisor.Timer1Timer();
        f.supervisor.Timer1Timer(); // an unknown model must not stop the ticks
        ASSERT_EQ(f.seen.adapted.size(), 2);
        EXPECT_EQ(f.seen.adapted[1], c.flags);
        EXPECT_EQ(f.session.flags, c.flags);
        EXPECT_FALSE(f.session.noConnection);
        EXPECT_EQ(f.status.panel(StatusModel::Error), c.known ? "" : "Unbekanntes Modell");
        EXPECT_EQ(f.supervisor.dot, DotState::RedSquare); // red -> magenta -> red
    }
}

TEST(Supervisor, OldFirmwareIsRefusedOnlyOnARealAnswer)
{
    const QString model = modelString('W', '9', 'S', 'T', 'G');
    {
        SupervisorFixture f;
        f.answer("smo", model); // no firmware answer yet
        f.answer("sfi", QStringLiteral("6.9"));
        f.supervisor.Timer1Timer();
        EXPECT_TRUE(f.seen.refusals.isEmpty());
        EXPECT_TRUE(f.poll.isActive());
    }
    SupervisorFixture f;
    f.connect(model, QStringLiteral("6.990"));
    f.supervisor.Timer1Timer();
    ASSERT_EQ(f.seen.refusals.size(), 1);
    EXPECT_EQ(f.seen.refusals[0],
              QStringLiteral("   Diese Version von Vandorelle kann ausschließlich für \n"
                             "Steuerungen mit Firmware V7.000 oder höher verwendet werden.\n"));
    EXPECT_FALSE(f.poll.isActive());
    EXPECT_TRUE(f.seen.adapted.isEmpty());
    const auto writes = f.port.writes.size();
    f.supervisor.Timer1Timer();
    f.session.receive(frame("sts", ""), 11); // must not bring the poll back
    EXPECT_EQ(f.port.writes.size(), writes);
    EXPECT_FALSE(f.poll.isActive());
    EXPECT_EQ(f.seen.refusals.size(), 1);
}

TEST(Supervisor, PulledCableIsNoticedWithinTwoWatchdogPeriodsAndATick)
{
    SupervisorFixture f;
    f.connect(modelString('R', '9', 'S', '-', '-'));
    f.supervisor.Timer3Timer();
    f.supervisor.Timer1Timer();
    EXPECT_FALSE(f.session.noConnection);
    f.store.clearAllPending();

    f.answer("sti", QStringLiteral("10:00")); // the last answer before the cable goes
    f.supervisor.Timer3Timer();               // saw traffic
    EXPECT_EQ(f.status.panel(StatusModel::Model), modelString('R', '9', 'S', '-', '-'));
    f.supervisor.Timer3Timer();               // saw none
    EXPECT_EQ(f.status.panel(StatusModel::Model), kKeineVerbindung);
    EXPECT_FALSE(f.session.firmwareKnown);
    EXPECT_EQ(f.store.Beschattung[31].Senden, 1);
    EXPECT_EQ(f.store.Schaltzeit[0].Senden, 1);
    EXPECT_EQ(f.store.AussenTemperatursteuerung[0].Senden, 1);

    f.supervisor.Timer1Timer();
    EXPECT_EQ(f.seen.notConnected, 1);
    EXPECT_TRUE(f.session.noConnection);
    EXPECT_EQ(f.supervisor.dot, DotState::RedSquare);
}

TEST(Supervisor, SendingSuspendsPollAndWatchdogButNotTheDot)
{
    SupervisorFixture f;
    f.connect(modelString('R', '9', 'S', '-', '-'));
    f.supervisor.Timer1Timer();
    f.session.sendInProgress = true;
    f.port.clear();
    f.store.clearAllPending();
    const DotState before = f.supervisor.dot;
    f.supervisor.Timer1Timer();
    f.supervisor.Timer3Timer();
    f.supervisor.Timer3Timer();
    EXPECT_TRUE(f.port.writes.isEmpty());
    EXPECT_NE(f.supervisor.dot, before);
    EXPECT_NE(f.status.panel(StatusModel::Model), kKeineVerbindung);
    EXPECT_EQ(f.store.Beschattung[0].Senden, 0);
}

TEST(Supervisor, SettingsFileAndLogbookResetOncePerRun)
{
    SupervisorFixture f;
    f.supervisor.portChoice = [] { return PortChoice{3, {}}; };
    f.connect(modelString('R', '9', 'S', '-', '-'));
    f.supervisor.Timer1Timer();
    QFile ini(settingsFilePath(f.dir.path()));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(ini.readAll().trimmed(), "3");
    ini.close();
    ASSERT_TRUE(ini.remove());

    f.supervisor.Timer1Timer();
    f.supervisor.Timer3Timer();
    f.supervisor.Timer3Timer(); // link lost ...
    f.connect(modelString('R', '9', 'S', '-', '-'));
    f.supervisor.Timer1Timer(); // ... and back: still not written again
    EXPECT_FALSE(ini.exists());
    EXPECT_EQ(f.port.count("slr"), 1);
    EXPECT_TRUE(f.seen.errors.isEmpty());

    // No configuration folder can be made under a plain file.
    SupervisorFixture g;
    QFile blocker(g.dir.filePath("plain-file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", blocker.fileName().toLocal8Bit());
    g.connect(modelString('R', '9', 'S', '-', '-'));
    g.supervisor.Timer1Timer();
    g.supervisor.Timer1Timer();
    qputenv("XDG_CONFIG_HOME", configHome);
    ASSERT_EQ(g.seen.errors.size(), 1);
    EXPECT_EQ(g.seen.errors[0], "    Kann Initialisierungs-File nicht schreiben    ");
    EXPECT_EQ(g.port.count("slr"), 1);
}

TEST(Supervisor, ServiceLeavesSettingsFileAndLogbookPointerAlone)
{
    SupervisorFixture f;
    f.supervisor.writesSettingsFile = false;
    f.supervisor.rewindsLogbook = false;
    f.connect(modelString('R', '9', 'S', '-', '-'));
    f.supervisor.Timer1Timer();
    f.supervisor.Timer1Timer();
    EXPECT_EQ(f.seen.adapted.size(), 2);
    EXPECT_FALSE(QFile::exists(settingsFilePath(f.dir.path())));
    EXPECT_EQ(f.port.count("slr"), 0);
}

TEST(Supervisor, TimeSignalMode)
{
    SupervisorFixture f;
    f.supervisor.DCF77ButtonClick();
    EXPECT_EQ(f.port.texts(), QStringList{" sdr"});
    EXPECT_TRUE(f.timeSignal.isActive());
    EXPECT_FALSE(f.poll.isActive());
    f.supervisor.DCF77_LED_TimerTimer();
    EXPECT_EQ(f.port.texts(), QStringList({" sdr", " sti", " sds"}));

    f.answer("sts", QString());
    EXPECT_FALSE(f.timeSignal.isActive());
    EXPECT_TRUE(f.poll.isActive());

    f.supervisor.DCF77ButtonClick();
    f.supervisor.parameterPageLeft();
    EXPECT_FALSE(f.timeSignal.isActive());
    EXPECT_TRUE(f.poll.isActive());

    // Leaving the page outside the mode leaves a stopped poll alone (an exchange owns it).
    f.poll.stop();
    f.supervisor.parameterPageLeft();
    EXPECT_FALSE(f.poll.isActive());
    // A stray "sts" restarts the poll.
    f.answer("sts", QString());
    EXPECT_TRUE(f.poll.isActive());
}

// The write buffer stays full (XOFF): one message, not one per tick.
class FullPort : public Port {
public:
    bool QueueText(const QByteArray &) override
    {
        throw EVaCommError(QStringLiteral("Output buffer is full. Please check comm status."));
    }
    bool isOpen() const override { return true; }
    QByteArray ReadAvailable() override { return {}; }
};

TEST(Supervisor, FullWriteBufferIsReportedOncePerStall)
{
    SupervisorFixture f;
    FullPort full;
    f.session.setPort(&full);
    for (int i = 0; i < 4; ++i)
        f.supervisor.Timer1Timer();
    ASSERT_EQ(f.seen.errors.size(), 1);
    EXPECT_EQ(f.seen.errors[0], "Output buffer is full. Please check comm status.");

    f.session.setPort(&f.port);
    f.supervisor.Timer1Timer();
    f.session.setPort(&full);
    f.supervisor.Timer1Timer();
    EXPECT_EQ(f.seen.errors.size(), 2);
}

} // namespace
} // namespace vandorelle::test
