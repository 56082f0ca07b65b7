#pragma once

#include <QLabel>
#include <QWidget>

#include <vector>

class QGridLayout;
class QListWidget;

namespace vandorelle {

// A tab page is this wide when the window has its opening size of 829 x 590; the editors
// arrange their controls to fit. Pages keep these margins and spacings.
constexpr int kPageWidth = 817;
constexpr int kPageMargin = 6;
constexpr int kPageSpacing = 6;

// The grid of a page, with the margins and spacing above.
QGridLayout *pageGrid(QWidget *page);
// The layout of a group box: its controls right under the caption, the page's margins at
// the sides.
void setGroupMargins(QLayout *layout);

// The window's font: the metric twin of the classic 8-point sans, 11 pixels high, so
// the pages fit the window's 829 x 590 pixels as they were laid out for.
void applyWindowFont();

// Fixed-pitch font of the overview lists, so that their columns align.
QFont listFont();
// Width of one character of listFont().
double listCharWidth();
// Where the text of a list's lines begins, in the list's own coordinates.
int listTextLeft(const QListWidget *list);
// Fixed-pitch font, whole rows and no eliding: a line too long for the list is cut.
void setUpOverviewList(QListWidget *list);

// A caption over a control that wraps at its blanks: it gets the narrowest width (at least
// minWidth) at which it needs no more than maxLines lines, and the height of the lines
// it then needs, so that no layout squeezes a line away.
void fitCaption(QLabel *label, int minWidth, int maxLines = 2);

// Characters of an overview line that a heading phrase stands over. A phrase with a
// width is centred over its characters; one without starts at `start`.
struct ListColumn {
    int start;
    int width = 0;
};

// A heading over the columns of an overview list. Its text stays as given; each phrase of
// it (words parted by two or more blanks) is drawn over its column of the list's lines,
// at least a blank after the phrase before. A phrase that does not fit whole is left out,
// as a narrowed list leaves out its columns.
class ColumnHeading : public QLabel {
    Q_OBJECT
public:
    ColumnHeading(const QString &text, QWidget *parent);

    // One column per phrase; phrases without one follow the one before.
    void setColumns(std::vector<ListColumn> columns);
    // The same in pixels from this label's left edge, for headings over other controls.
    void setPixelColumns(std::vector<ListColumn> columns);
    // x of the list's first character, relative to this label's left edge.
    void setFirstCharacterAt(int pixels);
    // Another heading over the same list whose phrases come first: this one's start after it.
    void setAfter(const ColumnHeading *before);

    QStringList phrases() const;
    // Where each phrase is drawn; an empty rectangle for one that is left out.
    std::vector<QRect> phraseRects() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<QRect> place(int availableWidth) const;

    std::vector<ListColumn> m_columns;
    bool m_inPixels = false;
    int m_indent = 0;
    const ColumnHeading *m_before = nullptr;
};

// A label that shortens its text with "…" where it has too little room, instead of
// cutting it, and then shows the whole text as its tooltip. text() stays the whole text.
class ElidingLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    bool elided() const;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QRect textRect() const;
};

// Holds overview lists (one shown at a time, or just one) and gives them the greatest
// height that shows whole rows, so that no half-cut line shows at the bottom. A list keeps
// its own width limits; the holder passes them on to its layout, and it hides itself while
// all its lists are hidden (a controller without that function), so it takes no room.
class WholeRows : public QWidget {
    Q_OBJECT
public:
    WholeRows(QWidget *parent, int minimumRows);
    void add(QListWidget *list);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    int rowsHeight(const QListWidget *list, int rows) const;
    void placeLists();

    std::vector<QListWidget *> m_lists;
    int m_minimumRows;
};

} // namespace vandorelle
