#include "bridge_fixture.h"

#include <QJsonArray>
#include <QSet>

namespace vandorelle::test {
namespace {

using Discovery = BridgeFixture;

const QString kDemo = QStringLiteral(VANDORELLE_SOURCE_DIR "/demo/Musterhaus.vsk");
// Characters 9, 13, 14: no conservatory, motor digit 4 (motors 1..8), shading.
const QString kSmallShadingModel = QStringLiteral("VC-7000 -GS-4S-- 8M");

// The latest discovery document of every entity, by its config topic.
QMap<QString, QByteArray> documents(const Subscriber &s)
{
    QMap<QString, QByteArray> out;
    for (const Message &m : s.messagesUnder(QStringLiteral("homeassistant/")))
        out.insert(m.topic, m.payload);
    return out;
}

TEST_F(Discovery, EntitiesOfAFullAndOfASmallShadingModelNamedAsTheController)
{
    startAll({"--state", kDemo}, {"--cover-class", "5=awning"});
    const QString lastCover = topics.discovery("cover", "motor_32");
    ASSERT_TRUE(watcher().waitForMessage(lastCover, "motor_32", kBoundMs)) << bridge.log().toStdString();
    ASSERT_TRUE(eventually([&] { return documents(watcher()).contains(topics.discovery("switch", "port_released")); },
                           kBoundMs));

    const QMap<QString, QByteArray> full = documents(watcher());
    QSet<QString> uniqueIds;
    for (auto it = full.begin(); it != full.end(); ++it) {
        const QJsonObject doc = json(it.value());
        const QString id = doc.value("unique_id").toString();
        EXPECT_FALSE(uniqueIds.contains(id)) << it.key().toStdString();
        uniqueIds.insert(id);
        EXPECT_TRUE(doc.value("unique_id").toString().startsWith("vandorelle_test_"));
        const QJsonObject device = doc.value("device").toObject();
        EXPECT_EQ(device.value("name").toString(), "Vandorelle controller");
        EXPECT_EQ(device.value("model").toString(), "VC-7000 WGS-9STG 32M");
        EXPECT_EQ(device.value("sw_version").toString(), "7.090");
        EXPECT_EQ(device.value("identifiers").toArray(), QJsonArray{"vandorelle_test"});
    }
    // 32 covers, 11 sensors, rain, alarm, connectivity, the reset button, date, time, the switch.
    EXPECT_EQ(full.size(), 32 + 11 + 3 + 1 + 2 + 1);

    const QJsonObject kitchen = json(full.value(topics.discovery("cover", "motor_1")));
    EXPECT_EQ(kitchen.value("name").toString(), QString::fromUtf8("Küche"));
    EXPECT_EQ(kitchen.value("command_topic").toString(), topics.of("motor/1/set"));
    EXPECT_EQ(kitchen.value("availability_topic").toString(), topics.of("status"));
    EXPECT_EQ(kitchen.value("device_class").toString(), "shutter");
    EXPECT_EQ(json(full.value(topics.discovery("cover", "motor_8"))).value("name").toString(), "Wintergarten");
    EXPECT_EQ(json(full.value(topics.discovery("cover", "motor_9"))).value("name").toString(), "Motor 9");
    EXPECT_EQ(json(full.value(topics.discovery("cover", "motor_5"))).value("device_class").toString(), "awning");

    const QJsonObject inside = json(full.value(topics.discovery("sensor", "inside_temperature")));
    EXPECT_EQ(inside.value("device_class").toString(), "temperature");
    EXPECT_EQ(inside.value("unit_of_measurement").toString(), QString::fromUtf8("°C"));
    EXPECT_EQ(inside.value("state_topic").toString(), topics.of("inside_temperature"));
    EXPECT_EQ(inside.value("availability_mode").toString(), "all");
    EXPECT_EQ(inside.value("availability").toArray().at(1).toObject().value("topic").toString(),
              topics.of("inside_temperature/available"));
    EXPECT_EQ(json(full.value(topics.discovery("sensor", "wind"))).value("unit_of_measurement").toString(), "km/h");
    EXPECT_EQ(json(full.value(topics.discovery("sensor", "humidity"))).value("device_class").toString(), "humidity");
    EXPECT_EQ(json(full.value(topics.discovery("binary_sensor", "rain"))).value("state_topic").toString(),
              topics.of("rain"));
    EXPECT_TRUE(full.contains(topics.discovery("binary_sensor", "alarm")));
    const QJsonObject connectivity = json(full.value(topics.discovery("binary_sensor", "connectivity")));
    EXPECT_EQ(connectivity.value("state_topic").toString(), topics.of("status"));
    EXPECT_FALSE(connectivity.contains("availability_topic")); // it shows the bridge's absence itself
    EXPECT_EQ(json(full.value(topics.discovery("button", "wind_max_reset"))).value("command_topic").toString(),
              topics.of("wind_max/reset"));
    EXPECT_EQ(watcher().latest(topics.of("motor/2/name")), QByteArray("Wohnzimmer"));

    // Another controller on the same line, of eight motors: covers 9..32 go, names follow.
    emulator.stop();
    ASSERT_TRUE(watcher().waitForPayload(topics.of("status"), "offline", kBoundMs));
    ASSERT_TRUE(startEmulator({"--state", kDemo, "--model", kSmallShadingModel}));
    ASSERT_TRUE(watcher().waitForPayload(topics.discovery("cover", "motor_32"), QByteArray(), kBoundMs))
        << bridge.log().toStdString();
    ASSERT_TRUE(eventually([&] { return documents(watcher()).value(topics.discovery("cover", "motor_9")).isEmpty(); },
                           kBoundMs));
    const QMap<QString, QByteArray> small = documents(watcher());
    for (int m = 1; m <= 32; ++m) {
        const QByteArray doc = small.value(topics.discovery("cover", QStringLiteral("motor_%1").arg(m)));
        EXPECT_EQ(doc.isEmpty(), m > 8) << m;
    }
    const QJsonObject garden = json(small.value(topics.discovery("cover", "motor_8")));
    EXPECT_EQ(garden.value("name").toString(), "Wintergarten");
    EXPECT_EQ(garden.value("device").toObject().value("model").toString(), kSmallShadingModel);
    EXPECT_EQ(watcher().latest(topics.of("motors")), QByteArray("8"));
    EXPECT_EQ(watcher().latest(topics.of("motor/9/name")), QByteArray());
    EXPECT_EQ(watcher().latest(topics.of("family/shading")), QByteArray("true"));
    EXPECT_EQ(watcher().latest(topics.of("family/conservatory")), QByteArray("false"));

    // A motor the small model does not have is refused, and said why.
    watcher().publish(topics.of("motor/9/set"), "CLOSE");
    ASSERT_TRUE(watcher().waitForMessage(topics.of("error"), "motor 9", kBoundMs));
    EXPECT_TRUE(watcher().latest(topics.of("error"))->contains("motors 1 to 8")) << bridge.log().toStdString();
    EXPECT_FALSE(trace().contains("rhb 9,"));
}

} // namespace
} // namespace vandorelle::test
