#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/tab_page.h"
#include "ui/window_adaptation.h"
#include "ui/window_style.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>

#include <gtest/gtest.h>

using namespace vandorelle;

namespace {

DeviceFlags everything()
{
    DeviceFlags f;
    f.ShadingFamily = true;
    f.ConservatoryFamily = true;
    f.TastPresent = true;
    f.GzsPresent = true;
    return f;
}

DeviceFlags smallRollerShutter()
{
    DeviceFlags f;
    f.BankModel = false;
    f.EightEntries = false;
    return f;
}

struct NoPort {
    NoPort()
    {
        qputenv("VANDORELLE_COM1", "/nonexistent/vandorelle-layout-test");
        ui::dialogHooks().error = [](auto *, auto &) {};
    }
    ~NoPort() { ui::resetDialogHooks(); }
};

// The window at its opening size, with the font it ships with (the test main sets it).
class WindowLayout : public ::testing::Test {
protected:
    WindowLayout()
    {
        w.startUp();
        adaptWindowToFamily(w, everything());
        w.resize(829, 590);
        w.show();
        QApplication::processEvents();
    }

    void showPage(TabPage *page)
    {
        w.Parameter_Maske->setCurrentWidget(page);
        QApplication::processEvents();
    }
    bool tabShown(TabPage *page) const { return w.Parameter_Maske->isTabVisible(w.Parameter_Maske->indexOf(page)); }
    // Laid out by now: shown, or hidden but keeping its place.
    static bool placed(const QWidget *widget)
    {
        return !widget->isHidden() || widget->sizePolicy().retainSizeWhenHidden();
    }

    NoPort noPort;
    TQuorvix w;
};

TEST_F(WindowLayout, EveryPageFitsTheOpeningSizeForEveryFamily)
{
    for (const DeviceFlags &flags : {everything(), DeviceFlags{}, smallRollerShutter()}) {
        adaptWindowToFamily(w, flags);
        for (TabPage *page : w.pages) {
            if (!tabShown(page))
                continue;
            showPage(page);
            const QSize need = page->minimumSizeHint();
            EXPECT_LE(need.width(), page->width()) << qPrintable(page->objectName());
            EXPECT_LE(need.height(), page->height()) << qPrintable(page->objectName());
        }
        EXPECT_EQ(w.size(), QSize(829, 590));
        // No scroll arrows: the last caption ends inside the bar.
        const QTabBar *tabs = w.Parameter_Maske->tabBar();
        int last = -1;
        for (int i = 0; i < tabs->count(); ++i)
            last = tabs->isTabVisible(i) ? i : last;
        EXPECT_LE(tabs->tabRect(last).right(), tabs->width());
    }
}

TEST_F(WindowLayout, CaptionsGetTheHeightOfAllTheirLines)
{
    int checked = 0;
    for (TabPage *page : w.pages) {
        showPage(page);
        for (const QLabel *label : page->findChildren<QLabel *>()) {
            if (!label->wordWrap() || !placed(label))
                continue;
            ++checked;
            EXPECT_GE(label->height(), label->heightForWidth(label->width())) << qPrintable(label->text());
            // No word sticks out at the side.
            const QRect text = label->fontMetrics().boundingRect(QRect(0, 0, label->width(), 1000),
                                                                 Qt::TextWordWrap, label->text());
            EXPECT_LE(text.width(), label->width()) << qPrintable(label->text());
        }
    }
    EXPECT_GT(checked, 40); // the eleven editors and the switching-time editor
}

TEST_F(WindowLayout, OverviewListsShowWholeRowsAndCutLongLines)
{
    int checked = 0;
    for (TabPage *page : w.pages) {
        showPage(page);
        for (const QListWidget *list : page->findChildren<QListWidget *>()) {
            if (!qobject_cast<const WholeRows *>(list->parentWidget()) || list->isHidden())
                continue;
            ++checked;
            const int rows = list->height() - 2 * list->frameWidth();
            EXPECT_EQ(rows % list->sizeHintForRow(0), 0) << qPrintable(list->objectName());
            EXPECT_EQ(list->textElideMode(), Qt::ElideNone) << qPrintable(list->objectName());
            EXPECT_TRUE(list->font().fixedPitch()) << qPrintable(list->objectName());
        }
    }
    EXPECT_EQ(checked, 14); // eleven editors, heating, the shown schedule list, the logbook
}

TEST_F(WindowLayout, ListsOfMissingFunctionsTakeNoRoom)
{
    auto *humidity = w.findChild<QListWidget *>(QStringLiteral("RelF_Liste"));
    ASSERT_NE(humidity, nullptr);
    EXPECT_FALSE(humidity->parentWidget()->isHidden());
    adaptWindowToFamily(w, DeviceFlags{});
    EXPECT_TRUE(humidity->parentWidget()->isHidden());
    adaptWindowToFamily(w, everything());
    EXPECT_FALSE(humidity->parentWidget()->isHidden());
}

TEST_F(WindowLayout, HeadingsShowEveryPhraseOverItsColumn)
{
    for (TabPage *page : w.pages) {
        showPage(page);
        for (const ColumnHeading *heading : page->findChildren<ColumnHeading *>()) {
            if (heading->isHidden())
                continue;
            const std::vector<QRect> rects = heading->phraseRects();
            ASSERT_EQ(int(rects.size()), heading->phrases().size());
            int right = -1;
            for (size_t i = 0; i < rects.size(); ++i) {
                EXPECT_FALSE(rects[i].isEmpty()) << qPrintable(heading->phrases()[int(i)]);
                EXPECT_GT(rects[i].left(), right) << qPrintable(heading->phrases()[int(i)]);
                right = rects[i].right();
            }
        }
    }

    // "von" of the shading heading stands centred over the start hour, characters 25..29.
    showPage(w.pages[1]);
    auto *heading = w.findChild<ColumnHeading *>(QStringLiteral("Label28"));
    auto *list = w.findChild<QListWidget *>(QStringLiteral("BA_Liste"));
    ASSERT_TRUE(heading && list);
    const int von = int(heading->phrases().indexOf(QStringLiteral("von")));
    ASSERT_GE(von, 0);
    const QPoint centre = heading->mapTo(&w, heading->phraseRects()[size_t(von)].center());
    const double expected = list->mapTo(&w, QPoint(listTextLeft(list), 0)).x() + 27.5 * listCharWidth();
    EXPECT_NEAR(centre.x(), expected, 1.5);
}

TEST_F(WindowLayout, NarrowedScheduleHeadingsNameFourNumbers)
{
    adaptWindowToFamily(w, smallRollerShutter());
    showPage(w.pages[0]);
    for (const char *name : {"Label42", "Label37"}) {
        auto *heading = w.findChild<ColumnHeading *>(QString::fromLatin1(name));
        ASSERT_NE(heading, nullptr);
        const std::vector<QRect> rects = heading->phraseRects();
        ASSERT_EQ(rects.size(), 8u);
        for (size_t i = 0; i < rects.size(); ++i)
            EXPECT_EQ(rects[i].isEmpty(), i >= 4) << name << " phrase " << i;
    }
    EXPECT_EQ(w.findChild<QListWidget *>(QStringLiteral("DatenListe_Motor"))->textElideMode(), Qt::ElideNone);
}

TEST_F(WindowLayout, StatusPanelsShowTheirTextsWholeOrShortenedVisibly)
{
    w.status.setPanel(StatusModel::Model, QStringLiteral("VC-7000 WGS-9STG 32M"));
    w.status.setPanel(StatusModel::Activity, QStringLiteral("Freier Schaltzeiten-Speicher: 100%"));
    w.status.setPanel(StatusModel::Sun, QStringLiteral("Sonne: 1234"));
    w.status.setPanel(StatusModel::Received, QStringLiteral("R 123456"));
    const QString record = QStringLiteral("sfs  255,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0");
    w.status.setPanel(StatusModel::LastFrame, record);
    QApplication::processEvents();

    int right = -1;
    for (QLabel *panel : w.statusPanels) {
        if (panel->isHidden())
            continue;
        const QRect r(panel->mapTo(&w, QPoint(0, 0)), panel->size());
        EXPECT_GT(r.left(), right) << qPrintable(panel->objectName()); // side by side, no overlap
        right = r.right();
    }
    EXPECT_LE(right, w.width());
    for (StatusModel::Panel shown : {StatusModel::Model, StatusModel::Activity, StatusModel::Sun, StatusModel::Received})
        EXPECT_FALSE(static_cast<ElidingLabel *>(w.statusPanels[shown])->elided()) << int(shown);
    auto *last = static_cast<ElidingLabel *>(w.statusPanels[StatusModel::LastFrame]);
    EXPECT_TRUE(last->elided());
    EXPECT_EQ(last->text(), record);
}

// ---- the helpers alone ----

class LayoutHelpers : public ::testing::Test {
protected:
    QWidget parent;
};

TEST_F(LayoutHelpers, HeadingPhrasesStandOverTheirColumnsInOrder)
{
    ColumnHeading h(QStringLiteral("   Motor / Raum    Ein/Aus  T"), &parent);
    EXPECT_EQ(h.phrases(), (QStringList{"Motor / Raum", "Ein/Aus", "T"}));
    h.setFirstCharacterAt(4);
    // "Ein/Aus" centred over characters 14..16; "T" asks for a place inside it.
    h.setColumns({{0}, {14, 3}, {15, 1}});
    h.resize(h.sizeHint());
    const std::vector<QRect> r = h.phraseRects();
    ASSERT_EQ(r.size(), 3u);
    const double c = listCharWidth();
    EXPECT_EQ(r[0].left(), 4);
    EXPECT_NEAR(r[1].center().x(), 4 + 15.5 * c, 1.5);
    EXPECT_GT(r[2].left(), r[1].right()); // pushed behind, not drawn over

    // Too narrow for the last phrase: it is left out whole.
    h.resize(r[2].left() + 1, h.height());
    const std::vector<QRect> cut = h.phraseRects();
    EXPECT_FALSE(cut[1].isEmpty());
    EXPECT_TRUE(cut[2].isEmpty());

    // A second heading over the same list starts after the first.
    ColumnHeading next(QStringLiteral("Bereich"), &parent);
    next.setFirstCharacterAt(4);
    next.setColumns({{2}});
    next.setAfter(&h);
    next.resize(next.sizeHint());
    EXPECT_GT(next.phraseRects()[0].left(), h.sizeHint().width());
}

TEST_F(LayoutHelpers, CaptionsWrapIntoTwoLinesAtTheNarrowestWidth)
{
    QLabel soll(QStringLiteral("Soll- Temperatur"), &parent);
    fitCaption(&soll, 10);
    const QFontMetrics fm(soll.font());
    EXPECT_GE(soll.width(), fm.horizontalAdvance(QStringLiteral("Temperatur")));
    EXPECT_LT(soll.width(), fm.horizontalAdvance(soll.text()));
    EXPECT_GE(soll.minimumHeight(), 2 * fm.lineSpacing());

    QLabel wide(QStringLiteral("Stellzeit"), &parent);
    fitCaption(&wide, 80); // as wide as the controls under it
    EXPECT_EQ(wide.width(), 80);
    EXPECT_LT(wide.minimumHeight(), 2 * fm.lineSpacing());
}

TEST_F(LayoutHelpers, ElidingLabelKeepsItsWholeText)
{
    ElidingLabel label(QStringLiteral("Freier Schaltzeiten-Speicher: 100%"), &parent);
    label.resize(label.fontMetrics().horizontalAdvance(label.text()) + 10, 20);
    EXPECT_FALSE(label.elided());
    label.resize(40, 20);
    EXPECT_TRUE(label.elided());
    EXPECT_EQ(label.text(), QStringLiteral("Freier Schaltzeiten-Speicher: 100%"));
}

} // namespace
