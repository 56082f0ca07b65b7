#include "cli_runner.h"

#include "support/emulator.h"
#include "support/pty_pair.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace vandorelle::test;

namespace {

QByteArray frame(const char *tag, const QByteArray &payload)
{
    return QByteArray("start_") + tag + payload + "ende_";
}

// The first poll is answered as a controller would; after that only noise comes.
CliRun answerOnceThenNoise(PtyPair &pty, CliProcess &run)
{
    QByteArray heard;
    while (!heard.contains("smo\r") && run.running())
        heard += pty.readMaster(1, std::chrono::milliseconds(200));
    pty.writeMaster(frame("sfi", "7.090") + frame("sdt", "07.12.26") + frame("sti", "12:00:00")
                    + frame("skd", "12,215,0,180,260,75,0,90,120,15,0,3,8,1,10,55,")
                    + frame("smo", "VC-7000 WGS-9STG 32M"));
    QElapsedTimer t;
    t.start();
    while (run.running() && t.elapsed() < 15000) {
        pty.writeMaster("x\x7f? start_");
        pty.drainMaster(std::chrono::milliseconds(0));
        QThread::msleep(100);
    }
    return run.waitForEnd();
}

} // namespace

TEST(CliLineFaults, NoiseDoesNotKeepACommandWaitingBeyondItsTimeOut)
{
    QTemporaryDir dir;
    for (const QStringList &command : {QStringList{"read", dir.filePath("backup.vsk")},
                                       QStringList{"logbook", dir.filePath("log.vlg")},
                                       QStringList{"monitor", "--count", "3"}}) {
        SCOPED_TRACE(command.first().toStdString());
        PtyPair pty;
        QElapsedTimer t;
        t.start();
        CliProcess process(QStringList{"--port", pty.slavePath(), "--timeout", "1"} + command);
        const CliRun run = answerOnceThenNoise(pty, process);
        EXPECT_EQ(run.exitCode, 4) << run.describe();
        // Connecting takes up to a poll period or two; the time-out is one second.
        EXPECT_LT(t.elapsed(), 6000) << run.describe();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("backup.vsk")));
}

TEST(CliLineFaults, AVanishedDeviceEndsTheCommandAtOnce)
{
    QTemporaryDir dir;
    struct Case {
        QStringList command;
        const char *silenceAfter; // frames before the emulator goes quiet
        int exitCode;
    };
    for (const Case &c : {Case{{"read", dir.filePath("backup.vsk")}, "40", 4}, Case{{"info"}, "0", 3}}) {
        SCOPED_TRACE(c.command.first().toStdString());
        Emulator emulator;
        ASSERT_TRUE(emulator.start({"--baud", "0", "--silence-after", c.silenceAfter}))
            << emulator.lastError().toStdString();
        const QString trace = dir.filePath("line.log");
        QFile::remove(trace);
        CliProcess process(QStringList{"--port", emulator.devicePath(), "--timeout", "30", "--trace", trace}
                           + c.command);
        // Gone while the command waits: the read's requests, or the first poll, are out.
        const QByteArray waitedFor = c.exitCode == 4 ? "sfs" : "smo";
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 15000) {
            QFile log(trace);
            if (log.open(QIODevice::ReadOnly) && log.readAll().contains(waitedFor))
                break;
            QThread::msleep(20);
        }
        emulator.stop();
        const CliRun run = process.waitForEnd(20000);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.describe();
        EXPECT_TRUE(run.err.contains("disappeared")) << run.describe();
        EXPECT_LT(run.elapsedMs, 3000) << run.describe();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("backup.vsk")));
}
