#include "mqtt_rig.h"

#include <QFile>
#include <QTemporaryDir>

#include <csignal>

#include <gtest/gtest.h>

namespace vandorelle::test {
namespace {

constexpr int kBoundMs = 30000;

QString writeConfig(const QTemporaryDir &dir, const QByteArray &text)
{
    const QString path = dir.filePath(QStringLiteral("bridge.conf"));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
    return path;
}

struct Refusal {
    QStringList args;
    const char *says;
};

TEST(BridgeOptions, WhatCannotWorkEndsAtOnceWithTheReason)
{
    QTemporaryDir dir;
    const QString badKey = writeConfig(dir, "port=COM1\npasword-file=/etc/x\n");
    QTemporaryDir other;
    const QString withPassword = writeConfig(other, "password=geheim\n");
    const Refusal refusals[] = {
        {{"--user", "u", "--password", "geheim"}, "never given on the command line"},
        {{"--password=geheim"}, "never given on the command line"},
        {{"--config", badKey}, "unknown key \"pasword-file\""},
        {{"--config", withPassword}, "no password here"},
        {{"--config", dir.filePath("missing.conf")}, "no such file"},
        {{"--broker", "localhost:99999"}, "the port is a number from 1 to 65535"},
        {{"--id", "haus/1"}, "letters, digits, - and _"},
        {{"--prefix", "home/#"}, "wildcards"},
        {{"--cover-class", "3=garden"}, "the class is one of"},
        {{"--cover-class", "40=awning"}, "motors are numbered 1 to 32"},
        {{"--manual-timeout", "0"}, "seconds from 1"},
        {{"--password-file", "/etc/hostname"}, "needs a user name"},
        {{"--user", "u", "--password-file", dir.filePath("none")}, "cannot read the password file"},
        {{"--ca-file", dir.filePath("none.crt")}, "ca-file: cannot read"},
        {{"--cert-file", "/etc/hostname"}, "cert-file and key-file go together"},
        {{"--port", "COM9"}, "port:"},
        {{"surplus"}, "unexpected argument"},
    };
    for (const Refusal &r : refusals) {
        BridgeProcess bridge;
        ASSERT_TRUE(bridge.start(r.args));
        EXPECT_EQ(bridge.waitForExit(kBoundMs), 2) << r.args.join(' ').toStdString();
        EXPECT_TRUE(bridge.log().contains(QLatin1String(r.says))) << bridge.log().toStdString();
        EXPECT_FALSE(bridge.log().contains("geheim")) << bridge.log().toStdString();
    }
}

TEST(BridgeOptions, OptionsWinOverTheFileAndNeitherBrokerNorPortHoldsUpTheEnd)
{
    QTemporaryDir dir;
    const int closed = freeTcpPort();
    const QString config = writeConfig(dir, QStringLiteral("# comment\n#prefix=commented/out\n; also a comment\nbroker=127.0.0.1:%1\nprefix=from/file\nid=file\n"
                                                           "port=/nonexistent/tty\ncover-class=shutter, 5=awning\n")
                                                .arg(closed)
                                                .toUtf8());
    BridgeProcess bridge;
    ASSERT_TRUE(bridge.start({"--config", config, "--prefix", "from/option"}));
    ASSERT_TRUE(bridge.waitForLog("/nonexistent/tty is not there; waiting for it", kBoundMs)) << bridge.log().toStdString();
    ASSERT_TRUE(bridge.waitForLog(QStringLiteral("cannot reach the broker at 127.0.0.1:%1").arg(closed), kBoundMs));
    EXPECT_TRUE(bridge.log().contains("topics under from/option")) << bridge.log().toStdString();
    bridge.sendSignal(SIGTERM);
    EXPECT_EQ(bridge.waitForExit(kBoundMs), 0) << bridge.log().toStdString();
    // Each reason once, not once per attempt.
    EXPECT_EQ(bridge.log().count("cannot reach the broker"), 1) << bridge.log().toStdString();
}

} // namespace
} // namespace vandorelle::test
