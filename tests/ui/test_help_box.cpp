#include "window_fixture.h"

#include "ui/heating_tab.h"
#include "ui/help_box.h"
#include "ui/help_document.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

using namespace vandorelle;

namespace {

const QString kShippedDirectory = QStringLiteral(VANDORELLE_SOURCE_DIR "/help");

QString shippedDocument()
{
    QFile file(kShippedDirectory + QStringLiteral("/Vandorelle.hlp"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return help::documentText(file.readAll());
}

TEST(HelpDocument, EveryTitleHasItsOwnChapterInTheShippedDocument)
{
    const QString text = shippedDocument();
    const QStringList lines = text.split(QLatin1Char('\n'));
    ASSERT_EQ(help::topics().size(), 24u);
    for (const help::Topic &t : help::topics()) {
        // Found by the pane's search, which stops at the first occurrence: the title line.
        const qsizetype at = text.indexOf(t.title);
        ASSERT_GE(at, 0) << t.button;
        EXPECT_EQ(text.count(t.title), 1) << t.button;
        EXPECT_TRUE(lines.contains(t.title)) << t.button;
        const qsizetype next = text.indexOf(QLatin1Char('['), at + t.title.size());
        EXPECT_GT(next - at, 300) << t.button << ": chapter too short";
    }
    EXPECT_EQ(text.count(help::kEndMarker), 1);
    EXPECT_EQ(text.trimmed().right(help::kEndMarker.size()), help::kEndMarker);
}

TEST(HelpDocument, RichTextIsShownWithoutItsMarkup)
{
    const QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
                           "{\\*\\generator Writer;}\\f0\\fs20 [Heizungs-Steuerung]\\par "
                           "Gr\\'fc\\'dfe \\{x\\} \\u8364?\\tab Ende\\line\n[Ende Dokument]}";
    EXPECT_EQ(help::documentText(rtf),
              QStringLiteral("[Heizungs-Steuerung]\nGrüße {x} €\tEnde\n[Ende Dokument]"));
    // Plain documents are Windows-1252 and may end lines with CR LF.
    EXPECT_EQ(help::documentText("[Logbuch]\r\nGr\xfc\xdf" "e\r\n"), QStringLiteral("[Logbuch]\nGrüße\n"));
}

class HelpPane : public test::WindowTest {
protected:
    void SetUp() override
    {
        test::WindowTest::SetUp();
        w->show();
        w->programDirectory = kShippedDirectory;
    }

    HelpBox *pane() { return w->helpBox; }
    void pressHelp(const char *button) { find<QPushButton>(button)->click(); }
    QString selected() { return pane()->textCursor().selectedText(); }
    int caret() { return pane()->textCursor().position(); }
    int positionOf(const QString &text) { return pane()->toPlainText().indexOf(text); }

    static void writeDocument(const QString &path, const QByteArray &text)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
};

TEST_F(HelpPane, SameButtonShowsThenHides)
{
    pressHelp("Help_Heiz");
    ASSERT_TRUE(pane()->isVisible());
    EXPECT_EQ(pane()->geometry(), QRect(352, 0, 441, 505));
    EXPECT_EQ(pane()->lastTopic(), QStringLiteral("[Heizungs-Steuerung]"));
    EXPECT_EQ(selected(), QStringLiteral("[Heizungs-Steuerung]"));
    EXPECT_EQ(caret(), positionOf(QStringLiteral("[Heizungs-Steuerung]")));
    EXPECT_TRUE(pane()->isReadOnly());

    pressHelp("Help_Heiz");
    EXPECT_FALSE(pane()->isVisible());
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(HelpPane, EachButtonSwitchesToItsChapterWithoutHiding)
{
    // Every "?" button the pages have built; one after the other, none hides the pane.
    int pressed = 0;
    for (const help::Topic &t : help::topics()) {
        auto *button = w->findChild<QPushButton *>(QString::fromLatin1(t.button));
        if (!button)
            continue;
        button->click();
        ++pressed;
        ASSERT_TRUE(pane()->isVisible()) << t.button;
        EXPECT_EQ(pane()->geometry(), t.pane) << t.button;
        EXPECT_EQ(pane()->lastTopic(), t.title) << t.button;
        EXPECT_EQ(caret(), positionOf(t.title)) << t.button;
    }
    EXPECT_GE(pressed, 20);
}

TEST_F(HelpPane, ClickIntoThePaneOrPageChangeHidesIt)
{
    pressHelp("Help_ZufallSpanne");
    ASSERT_TRUE(pane()->isVisible());
    press(pane()->viewport());
    EXPECT_FALSE(pane()->isVisible());

    // Not visible any more, so the same button shows it again.
    pressHelp("Help_ZufallSpanne");
    EXPECT_TRUE(pane()->isVisible());

    enterPage(w->heizung);
    EXPECT_FALSE(pane()->isVisible());
}

TEST_F(HelpPane, HumidityChapterLeavesNoSelection)
{
    pressHelp("Help_Feuchte");
    ASSERT_TRUE(pane()->isVisible());
    EXPECT_FALSE(pane()->textCursor().hasSelection());
    EXPECT_EQ(caret(), positionOf(QStringLiteral("[Luftfeuchtigkeits-Steuerung]")));
}

TEST_F(HelpPane, DocumentIsReadAgainOnEveryShow)
{
    QTemporaryDir dir;
    w->programDirectory = dir.path();
    const QString path = dir.filePath(QStringLiteral("Vandorelle.hlp"));
    writeDocument(path, "Vorwort\n[Heizungs-Steuerung]\nAlte Fassung\n[Ende Dokument]\n");
    pressHelp("Help_Heiz");
    EXPECT_TRUE(pane()->toPlainText().contains(QStringLiteral("Alte Fassung")));
    pressHelp("Help_Heiz");

    writeDocument(path, "[Heizungs-Steuerung]\nNeue Fassung\n[Ende Dokument]\n");
    pressHelp("Help_Heiz");
    EXPECT_TRUE(pane()->toPlainText().contains(QStringLiteral("Neue Fassung")));

    // A chapter the document lacks leaves the caret at the end marker.
    pressHelp("Help_Logbuch");
    EXPECT_TRUE(pane()->isVisible());
    EXPECT_EQ(caret(), positionOf(help::kEndMarker));
}

TEST_F(HelpPane, MissingDocumentIsReportedOnceAndThePaneKeepsItsState)
{
    pressHelp("Help_Heiz");
    ASSERT_TRUE(pane()->isVisible());
    const QString shownText = pane()->toPlainText();

    QTemporaryDir empty;
    w->programDirectory = empty.path();
    pressHelp("Help_GZS");
    const QString expected = QStringLiteral("Datei %1 kann nicht geöffnet werden")
                                 .arg(QDir::toNativeSeparators(empty.filePath(QStringLiteral("Vandorelle.hlp"))));
    EXPECT_EQ(errors, QStringList{expected});
    EXPECT_TRUE(pane()->isVisible());
    EXPECT_EQ(pane()->geometry(), QRect(352, 0, 441, 505));
    EXPECT_EQ(pane()->lastTopic(), QStringLiteral("[Heizungs-Steuerung]"));
    EXPECT_EQ(pane()->toPlainText(), shownText);

    // Hidden stays hidden.
    pressHelp("Help_Heiz");
    EXPECT_FALSE(pane()->isVisible());
    errors.clear();
    pressHelp("Help_SensorTypen");
    EXPECT_EQ(errors.size(), 1);
    EXPECT_FALSE(pane()->isVisible());
}

} // namespace
