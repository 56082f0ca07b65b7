#include "sim/request_parser.h"

#include <gtest/gtest.h>

using namespace vandorelle::sim;
using Kind = ParsedItem::Kind;

namespace {

struct Collector {
    std::vector<ParsedItem> items;
    RequestParser parser{[this](const ParsedItem &item) { items.push_back(item); }};

    void feed(const QByteArray &bytes, qint64 nowMs = 0) { parser.feed(bytes, nowMs); }
    // One write per piece, the way the tool hands a record to its port.
    void feedPieces(const QList<QByteArray> &pieces, qint64 nowMs = 0)
    {
        for (const QByteArray &p : pieces) parser.feed(p, nowMs);
    }
    QList<QByteArray> tags(Kind kind) const
    {
        QList<QByteArray> list;
        for (const auto &i : items)
            if (i.kind == kind) list << i.tag;
        return list;
    }
};

} // namespace

TEST(SimRequestParser, BareAndTerminatedRequests)
{
    Collector c;
    c.feed("sfi\rsdt\rsti\rskd\rsmo\r");
    c.feed("sbpsdmsdaswpsrpsjpsoasassgzsppsipshpsfpsapsspsoishhstasmnszzsbhsfs");
    c.feed(" sdr sti sds");
    EXPECT_EQ(c.tags(Kind::Request),
              (QList<QByteArray>{"sfi", "sdt", "sti", "skd", "smo", "sbp", "sdm", "sda", "swp", "srp", "sjp",
                                 "soa", "sas", "sgz", "spp", "sip", "shp", "sfp", "sap", "ssp", "soi", "shh",
                                 "sta", "smn", "szz", "sbh", "sfs", "sdr", "sti", "sds"}));
    EXPECT_TRUE(c.tags(Kind::Broken).isEmpty());
}

TEST(SimRequestParser, RequestsSplitAcrossReadsAndAfterGarbage)
{
    Collector c;
    for (char ch : QByteArray("s\x13" "la\x11sldxq#!abcsfi\r\n"))
        c.feed(QByteArray(1, ch)); // XON/XOFF of the line and stray bytes are no part of a tag
    EXPECT_EQ(c.tags(Kind::Request), (QList<QByteArray>{"sla", "sld", "sfi"}));
}

TEST(SimRequestParser, RecordsArriveValueByValue)
{
    Collector c;
    c.feedPieces({" rbp", "1\r", "0\r", "122\r", "10\r", "20\r", "244\r", "10\r", "407\r"});
    c.feedPieces({" rta ", "5\r", "0\r", "22\r", "27\r"});
    c.feedPieces({" rmn", "12\r", "sfi K\xfc" "che   \r", "sfi K\xfc" "che   \r"});
    c.feedPieces({" rgz", "4294967295\r", "0\r", "0\r", "0\r", "22\r"});
    c.feedPieces({" rhi\r"});
    ASSERT_EQ(c.items.size(), 5u);
    EXPECT_EQ(c.items[0].tag, "rbp");
    EXPECT_EQ(c.items[0].fields, (QList<QByteArray>{"1", "0", "122", "10", "20", "244", "10", "407"}));
    EXPECT_EQ(c.items[1].tag, "rta");
    EXPECT_EQ(c.items[1].fields.size(), 4);
    // A name is text: letters in it are never taken for a request.
    EXPECT_EQ(c.items[2].fields.value(1), "sfi K\xfc" "che   ");
    EXPECT_EQ(c.items[3].fields.value(0), "4294967295");
    EXPECT_EQ(c.items[4].tag, "rhi");
    for (const auto &i : c.items) EXPECT_EQ(i.kind, Kind::Record);
}

TEST(SimRequestParser, ManualCommandKeepsItsTailToItself)
{
    Collector c;
    c.feedPieces({" rhb3\r", "down\r123\r + sti\r", " rhe\r"});
    ASSERT_EQ(c.items.size(), 2u);
    EXPECT_EQ(c.items[0].tag, "rhb");
    EXPECT_EQ(c.items[0].fields, (QList<QByteArray>{"3", "down", "123", " + sti"}));
    EXPECT_EQ(c.items[1].tag, "rhe");
    EXPECT_TRUE(c.tags(Kind::Request).isEmpty()); // the " + sti" is no time request
}

TEST(SimRequestParser, RequestBetweenTwoValuesLeavesTheRecordWhole)
{
    Collector c;
    c.feedPieces({" rwp", "32\r", "swl", "0\r", "30\r", "62\r"});
    ASSERT_EQ(c.items.size(), 2u);
    EXPECT_EQ(c.items[0].kind, Kind::Request);
    EXPECT_EQ(c.items[0].tag, "swl");
    EXPECT_EQ(c.items[1].kind, Kind::Record);
    EXPECT_EQ(c.items[1].fields, (QList<QByteArray>{"32", "0", "30", "62"}));
}

TEST(SimRequestParser, BrokenRecordsGiveWayToTheNextTag)
{
    Collector c;
    c.feedPieces({" rbp", "1\r", "0\r", " rdm", "1\r", "0\r", "8\r", "110\r", "40\r", "159\r"});
    ASSERT_EQ(c.items.size(), 2u);
    EXPECT_EQ(c.items[0].kind, Kind::Broken);
    EXPECT_EQ(c.items[0].tag, "rbp");
    EXPECT_EQ(c.items[0].fields, (QList<QByteArray>{"1", "0"}));
    EXPECT_EQ(c.items[1].kind, Kind::Record);
    EXPECT_EQ(c.items[1].tag, "rdm");

    c.items.clear();
    c.feedPieces({" rjp", "7\r", "1x"}); // junk inside a number
    c.feed("smo\r");
    ASSERT_EQ(c.items.size(), 2u);
    EXPECT_EQ(c.items[0].kind, Kind::Broken);
    EXPECT_EQ(c.items[1].tag, "smo");
}

TEST(SimRequestParser, RecordLeftHalfDoneIsGivenUpAfterAPause)
{
    Collector c;
    c.feedPieces({" rmn", "5\r", "Halbfert"}, 1000);
    EXPECT_TRUE(c.parser.inRecord());
    c.feed("sfi\r", 1000 + RequestParser::kRecordGapMs + 1);
    ASSERT_EQ(c.items.size(), 2u);
    EXPECT_EQ(c.items[0].kind, Kind::Broken);
    EXPECT_EQ(c.items[1].tag, "sfi");
}
