#include "config/text_codec.h"

#include <gtest/gtest.h>

using namespace vandorelle;

TEST(TextCodec, EncodesLatin1AndTheEuroBlock)
{
    EXPECT_EQ(toWindows1252(QStringLiteral("Kühlen äöüß")), QByteArray("K\xFChlen \xE4\xF6\xFC\xDF"));
    EXPECT_EQ(toWindows1252(QStringLiteral("€ „x“ – … ™ Ÿ")),
              QByteArray("\x80 \x84x\x93 \x96 \x85 \x99 \x9F"));
    EXPECT_EQ(fromWindows1252(QByteArray("\x80\x8A\x9C\xE9\xA0")), QStringLiteral("€Šœé\u00A0"));
    // The symbol-font glyph texts of the direction boxes travel as plain Latin-1 letters.
    EXPECT_EQ(toWindows1252(QStringLiteral("éê¡è")), QByteArray("\xE9\xEA\xA1\xE8"));
}

TEST(TextCodec, EveryByteSurvivesARoundTrip)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = fromWindows1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(toWindows1252(text), all);
    EXPECT_TRUE(representableInWindows1252(text));
}

TEST(TextCodec, UnrepresentableCharactersBecomeOneQuestionMarkEach)
{
    const QString text = QStringLiteral("a\u0416b") + QString::fromUcs4(U"\U0001F600") + QStringLiteral("c");
    EXPECT_EQ(toWindows1252(text), QByteArray("a?b?c"));
    EXPECT_FALSE(representableInWindows1252(text));
    EXPECT_FALSE(representableInWindows1252(QStringLiteral("Küche \u20AD")));
    EXPECT_TRUE(representableInWindows1252(QStringLiteral("Küche € 2")));
    EXPECT_TRUE(representableInWindows1252(QString()));
    // A lone surrogate is not a character at all.
    EXPECT_FALSE(representableInWindows1252(QString(QChar(0xD800))));
}

TEST(TextCodec, ControlCharactersBecomeBlanks)
{
    EXPECT_EQ(blankControlCharacters(QStringLiteral("a\rb\nc\td\x7F" "e\x01")), QStringLiteral("a b c d e "));
    EXPECT_EQ(sanitizeLineText(QStringLiteral("ä€ ~")), QStringLiteral("ä€ ~"));
}

TEST(TextCodec, LinesEndWithCrLfAndSplitOnEitherEnding)
{
    QByteArray out;
    appendLine(out, QStringLiteral("Bäder"));
    appendLine(out, QString());
    EXPECT_EQ(out, QByteArray("B\xE4" "der\r\n\r\n"));

    using L = QList<QByteArray>;
    EXPECT_EQ(splitLines("a\r\nb\nc"), (L{"a", "b", "c"}));
    EXPECT_EQ(splitLines("a\r\n\r\nb\r\n"), (L{"a", "", "b"}));
    EXPECT_EQ(splitLines("\n"), (L{""}));
    EXPECT_EQ(splitLines(""), L{});
    // A CR that does not precede a LF belongs to the line.
    EXPECT_EQ(splitLines("a\rb\r\n"), (L{"a\rb"}));
}
