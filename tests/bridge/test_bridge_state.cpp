#include "bridge_fixture.h"

#include <QJsonArray>
#include <QRegularExpression>

namespace vandorelle::test {
namespace {

using State = BridgeFixture;

// What a sensor answer of the emulator says, read as the window reads it: 999 is no
// temperature sensor (and then no minimum or maximum either), a humidity of 0 no humidity
// sensor; the tenths add away from zero.
QJsonObject expectedSensors(const QByteArray &payload)
{
    const QList<QByteArray> f = payload.split(',');
    auto v = [&](int i) { return f.value(i).toInt(); };
    auto temperature = [&](int whole) -> QJsonValue {
        if (v(whole) == 999)
            return QJsonValue::Null;
        // Written out as the window shows it, "-3,5" read as -3.5.
        return QStringLiteral("%1.%2").arg(v(whole)).arg(v(whole + 1)).toDouble();
    };
    auto extreme = [&](int whole, int at) -> QJsonValue { return v(whole) == 999 ? QJsonValue::Null : QJsonValue(v(at)); };
    return {
        {"brightness", v(0)},
        {"brightness_mean", v(14)},
        {"inside_temperature", temperature(1)},
        {"inside_min", extreme(1, 3)},
        {"inside_max", extreme(1, 4)},
        {"outside_temperature", temperature(5)},
        {"outside_min", extreme(5, 7)},
        {"outside_max", extreme(5, 8)},
        {"wind", v(9)},
        {"wind_max", v(10)},
        {"alarm", v(11) != 0},
        {"rain", v(12) != 0},
        {"wind_figure", v(13)},
        {"humidity", v(15) == 0 ? QJsonValue::Null : QJsonValue(v(15))},
    };
}

QList<QJsonObject> emulatorAnswers(const QString &trace)
{
    static const QRegularExpression skd(QStringLiteral("-> start_skd([-0-9,]*)ende_"));
    QList<QJsonObject> out;
    for (auto it = skd.globalMatch(trace); it.hasNext();)
        out.append(expectedSensors(it.next().captured(1).toLatin1()));
    return out;
}

// The value of each sensor topic as it stood when the state document of the same answer came.
QJsonValue topicValue(const std::optional<QByteArray> &payload, const QJsonValue &like)
{
    if (!payload || payload->isEmpty())
        return QJsonValue::Null;
    if (like.isBool())
        return *payload == "ON";
    return payload->toDouble();
}

TEST_F(State, SensorTopicsAreWhatTheEmulatorReportsAndAbsentSensorsUnavailable)
{
    // A day in a minute: rain spells come and go within seconds.
    startAll({"--no-sensor", "inside", "--no-sensor", "humidity", "--time-scale", "1440", "--seed", "7"});
    auto rainSeen = [&](bool raining) {
        return [&, raining](const QList<Message> &all) {
            return std::any_of(all.begin(), all.end(), [&](const Message &m) {
                return m.topic == topics.of("rain") && m.payload == (raining ? "ON" : "OFF");
            });
        };
    };
    ASSERT_TRUE(watcher().waitUntil(rainSeen(true), 3 * kBoundMs)) << bridge.log().toStdString();
    ASSERT_TRUE(watcher().waitUntil(rainSeen(false), 3 * kBoundMs));
    // Enough answers to compare, however quickly the rain came and went.
    ASSERT_TRUE(watcher().waitUntil([&](const QList<Message> &all) {
        return std::count_if(all.begin(), all.end(), [&](const Message &m) {
                   return m.topic == topics.of("state") && m.payload.contains("\"sensors\"");
               }) > 3;
    }, kBoundMs));

    // Every state document equals an answer the emulator gave, and the single topics say the same.
    const QList<Message> all = watcher().messagesUnder(topics.prefix());
    const QList<QJsonObject> answers = emulatorAnswers(trace());
    ASSERT_FALSE(answers.isEmpty());
    QMap<QString, std::optional<QByteArray>> single;
    int documents = 0;
    for (const Message &m : all) {
        if (m.topic != topics.of("state")) {
            single[m.topic] = m.payload;
            continue;
        }
        const QJsonObject sensors = json(m.payload).value("sensors").toObject();
        if (sensors.isEmpty())
            continue;
        ++documents;
        EXPECT_TRUE(answers.contains(sensors)) << m.payload.toStdString();
        for (auto it = sensors.begin(); it != sensors.end(); ++it)
            EXPECT_EQ(topicValue(single.value(topics.of(it.key())), it.value()), it.value()) << it.key().toStdString();
    }
    EXPECT_GT(documents, 3);

    // Absent sensors: no value, unavailable; present ones available.
    for (const char *absent : {"inside_temperature", "inside_min", "inside_max", "humidity"}) {
        EXPECT_EQ(watcher().latest(topics.of(absent)), QByteArray()) << absent;
        EXPECT_EQ(watcher().latest(topics.of(absent) + "/available"), QByteArray("offline")) << absent;
    }
    for (const char *present : {"outside_temperature", "outside_max", "wind", "wind_max", "brightness", "rain", "alarm"})
        EXPECT_EQ(watcher().latest(topics.of(present) + "/available"), QByteArray("online")) << present;
    EXPECT_FALSE(watcher().latest(topics.of("outside_temperature"))->isEmpty());

    // The controller's facts.
    EXPECT_EQ(watcher().latest(topics.of("model")), QByteArray("VC-7000 WGS-9STG 32M"));
    EXPECT_EQ(watcher().latest(topics.of("firmware")), QByteArray("7.090"));
    EXPECT_EQ(watcher().latest(topics.of("motors")), QByteArray("32"));
    EXPECT_EQ(watcher().latest(topics.of("family/radio_push_button")), QByteArray("false"));
    EXPECT_TRUE(QRegularExpression("^\\d\\d\\.\\d\\d\\.\\d\\d$").match(QString::fromLatin1(*watcher().latest(topics.of("date")))).hasMatch());
    const QJsonObject state = json(*watcher().latest(topics.of("state")));
    EXPECT_EQ(state.value("status").toString(), "online");
    EXPECT_EQ(state.value("bridge").toString(), "running");
    EXPECT_EQ(state.value("motor_names").toArray().size(), 32);
}

} // namespace
} // namespace vandorelle::test
