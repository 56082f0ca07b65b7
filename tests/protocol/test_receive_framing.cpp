#include "protocol/frame_receiver.h"
#include "test_receive_helpers.h"

#include "support/fake_port.h"

#include <gtest/gtest.h>

namespace vandorelle::test {
namespace {

TEST(ReceiveFraming, FrameIsRemovedExactlyThroughItsEndMarker)
{
    ReceiveFixture f;
    f.feed("start_sdt07.12.26ende_");
    EXPECT_EQ(f.panel(StatusModel::Date), "07.12.26");
    EXPECT_EQ(f.panel(StatusModel::LastFrame), "sdt  07.12.26");
    EXPECT_TRUE(f.session.ReceiveBuffer().isEmpty());

    // Characters before "start_" go with the frame, nothing behind it is touched.
    f.feed("xyzstart_sti12:00ende_start_sd");
    EXPECT_EQ(f.panel(StatusModel::Time), "12:00");
    EXPECT_EQ(f.session.ReceiveBuffer(), QByteArrayView("start_sd"));
    f.feed("t08.12.26ende_");
    EXPECT_EQ(f.panel(StatusModel::Date), "08.12.26");
}

TEST(ReceiveFraming, EndMarkerBeforeStartIsDroppedWithoutHarmingTheNextFrame)
{
    ReceiveFixture f;
    f.feed("start_sti12:00ende_");
    f.panelHistory.clear();
    f.feed("ende_start_smoQRX-W-9STGende_");

    ASSERT_GE(f.panelHistory.size(), 2);
    EXPECT_EQ(f.panelHistory[0], qMakePair(int(StatusModel::LastFrame), QStringLiteral(" del 12:00")));
    EXPECT_EQ(f.panel(StatusModel::Model), "QRX-W-9STG");
    EXPECT_TRUE(f.session.ReceiveBuffer().isEmpty());
}

TEST(ReceiveFraming, EveryCompleteFrameOfAnEventIsHandledInOrder)
{
    ReceiveFixture f;
    f.feed(frame("sdt", "01.02.26") + frame("sti", "10:00") + frame("xyz", "1,") + frame("sti", "10:01"));
    ASSERT_EQ(f.handled.size(), 4);
    EXPECT_EQ(f.handled[0].first, "sdt");
    EXPECT_EQ(f.handled[2], qMakePair(QStringLiteral("xyz"), QStringLiteral("1,")));
    EXPECT_EQ(f.panel(StatusModel::Time), "10:01");
    EXPECT_EQ(f.panel(StatusModel::LastFrame), "sti  10:01");
}

// An exchange acts on a frame (finishes, asks again) before the next one of the same read is
// decoded, as it would had the bytes come one at a time.
TEST(ReceiveFraming, EachFrameIsAnnouncedBeforeTheNextIsDecoded)
{
    ReceiveFixture f;
    QStringList timeSeen;
    QObject::connect(&f.session, &Session::frameHandled, [&](const QString &tag) {
        if (tag == "sti")
            timeSeen << f.panel(StatusModel::Time);
    });
    f.feed(frame("sti", "10:00") + frame("sti", "10:01"));
    EXPECT_EQ(timeSeen, QStringList({"10:00", "10:01"}));
}

TEST(ReceiveFraming, SplitByteByByteGivesTheSameResultAsOneChunk)
{
    const QByteArray stream = frame("sbp", "1,0,122,10,20,244,10,407,") + "noise" + frame("smn", "02,Kueche")
        + frame("sfs", "1,2,1,1,7,30,39,5,0,86,") + frame("sdt", "07.12.26");
    ReceiveFixture whole, bytes;
    whole.store.Beschattung[0].EinAus = 0;
    bytes.store.Beschattung[0].EinAus = 0;
    whole.feed(stream);
    for (char c : stream)
        bytes.feed(QByteArray(1, c));

    EXPECT_EQ(bytes.handled, whole.handled);
    EXPECT_EQ(bytes.handled.size(), 4);
    EXPECT_TRUE(bytes.store == whole.store);
    EXPECT_EQ(bytes.store.MotorNamen[1], "Kueche");
    EXPECT_EQ(bytes.session.RxCount, stream.size());
    EXPECT_TRUE(bytes.session.ReceiveBuffer().isEmpty());
}

TEST(ReceiveFraming, GarbageNeverGrowsTheBufferAndKeepsASplitStartMarker)
{
    ReceiveFixture f;
    QByteArray junk(10000, 'x');
    f.feed(junk);
    EXPECT_LE(f.session.ReceiveBuffer().size(), 5);

    f.feed("garbage...star");
    f.feed("t_sti09:15ende_");
    EXPECT_EQ(f.panel(StatusModel::Time), "09:15");

    // A frame broken off after its "start_" is given up once no frame could be that long.
    f.feed("start_sbp1,0,");
    f.feed(QByteArray(FrameReceiver::kMaxFrameLength, 'y'));
    EXPECT_LE(f.session.ReceiveBuffer().size(), 5);
    f.feed(frame("sti", "09:16"));
    EXPECT_EQ(f.panel(StatusModel::Time), "09:16");
}

TEST(ReceiveFraming, CountersFollowTheReportedCountAndPrecedeFrameHandled)
{
    ReceiveFixture f;
    f.session.TxCount = 40;
    int32_t rxSeenByListener = -1;
    QObject::connect(&f.session, &Session::frameHandled, [&] { rxSeenByListener = f.session.RxCount; });
    f.session.receive(frame("sti", "10:00"), 7); // the port may report fewer than it hands over
    EXPECT_EQ(f.session.RxCount, 7);
    EXPECT_EQ(rxSeenByListener, 7);
    EXPECT_EQ(f.panel(StatusModel::Received), "R 7");
    EXPECT_EQ(f.panel(StatusModel::Transmitted), "T 40");
    f.session.receive("start_st", 8);
    EXPECT_EQ(f.panel(StatusModel::Received), "R 15");
}

TEST(ReceiveFraming, BytesArrivingFromAListenerAreHandledAfterTheCurrentFrames)
{
    ReceiveFixture f;
    bool answered = false;
    QObject::connect(&f.session, &Session::frameHandled, [&](const QString &tag) {
        if (tag == "stc" && !answered) {
            answered = true;
            f.feed(frame("sdt", "02.02.26"));
        }
    });
    f.feed(frame("stc", "0,") + frame("sti", "11:00"));
    ASSERT_EQ(f.handled.size(), 3);
    EXPECT_EQ(f.handled[0].first, "stc");
    EXPECT_EQ(f.handled[1].first, "sti");
    EXPECT_EQ(f.handled[2].first, "sdt");
    EXPECT_EQ(f.session.RxCount, frame("stc", "0,").size() + frame("sti", "11:00").size() + frame("sdt", "02.02.26").size());
}

TEST(ReceiveFraming, MegabyteBurstInOneEvent)
{
    ReceiveFixture f;
    const QByteArray one = frame("sfs", "1,2,1,1,7,30,39,5,0,86,");
    QByteArray burst;
    while (burst.size() < (1 << 20))
        burst += one;
    const qsizetype frames = burst.size() / one.size();
    f.feed(burst.left(burst.size() - 3));
    EXPECT_EQ(f.handled.size(), frames - 1);
    f.feed(burst.right(3));
    EXPECT_EQ(f.handled.size(), frames);
    EXPECT_EQ(f.store.entry(5, 3, 1).Zeit, 7 * 60 + 30 + 1);
    EXPECT_TRUE(f.session.ReceiveBuffer().isEmpty());
}

TEST(ReceiveFraming, FramesTooShortForATagAreNotDispatched)
{
    ReceiveFixture f;
    f.feed("start_ende_start_smende_");
    ASSERT_EQ(f.handled.size(), 2);
    EXPECT_EQ(f.handled[0].first, "");
    EXPECT_EQ(f.handled[1].first, "sm");
    EXPECT_EQ(f.panel(StatusModel::Model), "");
}

} // namespace
} // namespace vandorelle::test

TEST(ReceiveFraming, TheReceiveEventCountsWhatItTookFromThePort)
{
    // More may have arrived than the event announced; the counter follows the bytes taken.
    vandorelle::test::ReceiveFixture f;
    vandorelle::test::FakePort port;
    f.session.setPort(&port);
    port.incoming = vandorelle::test::frame("smo", "VC-7000 WGS-9STG 32M") + vandorelle::test::frame("sfi", "7.090");
    const qsizetype size = port.incoming.size();
    f.session.receiveAvailable();
    EXPECT_EQ(f.session.RxCount, size);
    EXPECT_EQ(f.handled.size(), 2);
    EXPECT_TRUE(port.incoming.isEmpty());
}
