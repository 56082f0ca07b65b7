#include "config/settings_file.h"
#include "link/serial_port.h"
#include "link/supervisor.h"
#include "protocol/session.h"
#include "support/emulator.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace vandorelle::test {
namespace {

bool eventually(const std::function<bool()> &done, int boundMs = 10000)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < boundMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    return done();
}

// The tool's core, as the window wires it, on the emulated controller. The ticks are
// stepped by the test; the controller's answers arrive through the real serial port.
class Connect : public ::testing::Test {
protected:
    Connect()
    {
        session.setPort(&port);
        supervisor.setTimers(&poll, &watchdog, &timeSignal);
        supervisor.settingsDirectory = dir.path();
        status.setPanel(StatusModel::Model, kKeineVerbindung);
        QObject::connect(&port, &TVaComm::OnRxChar, &session,
                         [this](int count) { session.receive(port.ReadAvailable(), count); });
        QObject::connect(&supervisor, &Supervisor::adaptWindow, [this](const DeviceFlags &f) {
            adapted = true;
            flags = f;
        });
        QObject::connect(&session, &Session::frameHandled, [this](const QString &tag) {
            if (tag == "smo")
                ++modelAnswers;
        });
        QObject::connect(&supervisor, &Supervisor::firmwareRefused, [this](const QString &) { refused = true; });
    }

    bool start(const QStringList &options)
    {
        if (!emulator.start(QStringList{"--baud", "0"} + options)) {
            ADD_FAILURE() << emulator.lastError().toStdString();
            return false;
        }
        port.setDeviceOverride(emulator.devicePath());
        port.Open();
        return true;
    }
    // One poll tick whose answers have all arrived.
    void pollOnce()
    {
        const int before = modelAnswers;
        supervisor.Timer1Timer();
        // The answers come in request order; "smo" is the last.
        ASSERT_TRUE(eventually([&] { return modelAnswers > before; }));
    }

    Emulator emulator;
    ConfigStore store;
    StatusModel status;
    Session session{store, status};
    TVaComm port;
    QTimer poll, watchdog, timeSignal;
    Supervisor supervisor{session};
    QTemporaryDir dir;
    int modelAnswers = 0;
    bool adapted = false;
    bool refused = false;
    DeviceFlags flags;
};

TEST_F(Connect, ShowsModelFirmwareDateTimeAndSensors)
{
    if (!QFile::exists(Emulator::binaryPath()))
        GTEST_SKIP() << "vandorelle-sim is not built";
    ASSERT_TRUE(start({}));
    pollOnce();
    pollOnce(); // the tick that finds the model string evaluates it; sun and wind follow the family

    EXPECT_EQ(status.panel(StatusModel::Model), "VC-7000 WGS-9STG 32M");
    EXPECT_EQ(status.panel(StatusModel::Firmware), "V7.090");
    EXPECT_TRUE(QRegularExpression("^\\d\\d\\.\\d\\d\\.\\d\\d$").match(status.panel(StatusModel::Date)).hasMatch())
        << status.panel(StatusModel::Date).toStdString();
    EXPECT_TRUE(QRegularExpression("^\\d\\d:\\d\\d").match(status.panel(StatusModel::Time)).hasMatch())
        << status.panel(StatusModel::Time).toStdString();
    EXPECT_TRUE(status.panel(StatusModel::Sun).startsWith("Sonne: "));
    EXPECT_TRUE(status.panel(StatusModel::InsideTemp).startsWith("IT: "));
    EXPECT_TRUE(session.live.aktWind.endsWith(" km/h"));
    EXPECT_EQ(status.panel(StatusModel::Error), "");

    ASSERT_TRUE(adapted);
    EXPECT_TRUE(flags.ShadingFamily && flags.ConservatoryFamily && flags.TastPresent && flags.GzsPresent);
    EXPECT_TRUE(flags.BankModel && flags.EightEntries);
    EXPECT_FALSE(session.noConnection);
    EXPECT_TRUE(QFile::exists(settingsFilePath(dir.path())));
}

TEST_F(Connect, SmallModelAndLostLine)
{
    if (!QFile::exists(Emulator::binaryPath()))
        GTEST_SKIP() << "vandorelle-sim is not built";
    ASSERT_TRUE(start({"--model", "VC-7000 R---4--- 8M"}));
    pollOnce();
    supervisor.Timer1Timer();
    ASSERT_TRUE(adapted);
    EXPECT_FALSE(flags.BankModel || flags.EightEntries || flags.ShadingFamily || flags.ConservatoryFamily);

    supervisor.Timer3Timer();
    emulator.stop();
    supervisor.Timer3Timer();
    supervisor.Timer3Timer();
    supervisor.Timer1Timer();
    EXPECT_EQ(status.panel(StatusModel::Model), kKeineVerbindung);
    EXPECT_TRUE(session.noConnection);
    EXPECT_EQ(store.Regen[0].Senden, 1);
}

TEST_F(Connect, OldFirmwareIsRefused)
{
    if (!QFile::exists(Emulator::binaryPath()))
        GTEST_SKIP() << "vandorelle-sim is not built";
    ASSERT_TRUE(start({"--firmware", "6.990"}));
    pollOnce();
    supervisor.Timer1Timer();
    EXPECT_TRUE(refused);
    EXPECT_FALSE(adapted);
}

} // namespace
} // namespace vandorelle::test
