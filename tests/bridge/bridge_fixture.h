#pragma once

#include "mqtt_rig.h"
#include "support/emulator.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vandorelle::test {

// A broker, the emulated controller behind a fixed link (so that it can be restarted under
// the same name) tracing on a file, and the bridge between them.
class BridgeFixture : public ::testing::Test {
protected:
    static constexpr int kBoundMs = 30000; // generous: a loaded machine is slow, not wrong

    void SetUp() override
    {
        ASSERT_TRUE(broker.start()) << broker.error().toStdString();
        m_watcher = std::make_unique<Subscriber>(broker.port(), QStringList{"vandorelle/#", "homeassistant/#"});
        ASSERT_TRUE(m_watcher->waitConnected());
    }

    bool startEmulator(const QStringList &options = {})
    {
        emulator.setErrorFile(tracePath);
        return emulator.start(QStringList{"--link", link, "-v"} + options);
    }

    QStringList bridgeArgs(const QStringList &extra = {}) const
    {
        return QStringList{"--port", link, "--broker", QStringLiteral("127.0.0.1:%1").arg(broker.port()), "--id",
                           topics.id, "--user", Broker::kUser, "--password-file", broker.passwordFile()}
            + extra;
    }

    // Emulator and bridge up, the controller online at the broker.
    void startAll(const QStringList &emulatorOptions = {}, const QStringList &bridgeOptions = {})
    {
        ASSERT_TRUE(startEmulator(emulatorOptions)) << emulator.lastError().toStdString();
        ASSERT_TRUE(bridge.start(bridgeArgs(bridgeOptions)));
        ASSERT_TRUE(watcher().waitForPayload(topics.of("status"), "online", kBoundMs)) << bridge.log().toStdString();
    }

    QString trace() const
    {
        QFile f(tracePath);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    bool waitForTrace(const QString &text, int boundMs = kBoundMs) const
    {
        return eventually([&] { return trace().contains(text); }, boundMs);
    }

    static QJsonObject json(const QByteArray &payload)
    {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(payload, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << payload.toStdString();
        EXPECT_TRUE(doc.isObject()) << payload.toStdString();
        return doc.object();
    }

    QTemporaryDir dir;
    QString link = dir.filePath(QStringLiteral("controller"));
    QString tracePath = dir.filePath(QStringLiteral("emulator.log"));
    BridgeTopics topics{QStringLiteral("test")};
    Broker broker;
    Emulator emulator;
    BridgeProcess bridge;
    // Subscribed to everything of the bridge and of discovery from the start of the test.
    Subscriber &watcher() { return *m_watcher; }

private:
    std::unique_ptr<Subscriber> m_watcher;
};

} // namespace vandorelle::test
