#include "ui/window_style.h"

#include <QApplication>
#include <QEvent>
#include <QHelpEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QListWidget>
#include <QPainter>
#include <QRegularExpression>
#include <QStyle>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace vandorelle {

namespace {
constexpr int kFontPixels = 11;
}

QGridLayout *pageGrid(QWidget *page)
{
    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
    grid->setSpacing(kPageSpacing);
    return grid;
}

void setGroupMargins(QLayout *layout)
{
    layout->setContentsMargins(kPageMargin, 0, kPageMargin, 4);
}

void applyWindowFont()
{
    QFont f(QApplication::font());
    f.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(kFontPixels);
    QApplication::setFont(f);
}

QFont listFont()
{
    QFont f;
    f.setFamilies({QStringLiteral("Liberation Mono"), QStringLiteral("Courier New")});
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    f.setPixelSize(kFontPixels);
    return f;
}

double listCharWidth()
{
    return QFontMetricsF(listFont()).horizontalAdvance(QLatin1Char('0'));
}

int listTextLeft(const QListWidget *list)
{
    // The item delegate keeps the focus frame's margin and one pixel free before the text.
    return list->frameWidth() + list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
}

void setUpOverviewList(QListWidget *list)
{
    list->setFont(listFont());
    list->setTextElideMode(Qt::ElideNone);
    list->setUniformItemSizes(true);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void fitCaption(QLabel *label, int minWidth, int maxLines)
{
    label->setWordWrap(true);
    const QFontMetrics fm(label->font());
    const QString text = label->text();
    // A word longer than the width would stick out; that is no fit either.
    auto fits = [&](int width) {
        const QRect r = fm.boundingRect(QRect(0, 0, width, 1 << 16), Qt::TextWordWrap, text);
        return r.width() <= width && r.height() / fm.lineSpacing() <= maxLines;
    };
    int narrow = 1;
    int wide = fm.horizontalAdvance(text) + 1;
    // The narrowest width at which the text takes no more than maxLines lines.
    while (narrow < wide) {
        const int mid = (narrow + wide) / 2;
        if (fits(mid))
            wide = mid;
        else
            narrow = mid + 1;
    }
    // A little slack: the label lays out its text with margins of its own.
    const int width = std::max(minWidth, wide + 2);
    label->setFixedWidth(width);
    label->setMinimumHeight(label->heightForWidth(width));
}

// ---- ColumnHeading ----

ColumnHeading::ColumnHeading(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
}

void ColumnHeading::setColumns(std::vector<ListColumn> columns)
{
    m_columns = std::move(columns);
    m_inPixels = false;
    updateGeometry();
    update();
}

void ColumnHeading::setPixelColumns(std::vector<ListColumn> columns)
{
    m_columns = std::move(columns);
    m_inPixels = true;
    updateGeometry();
    update();
}

void ColumnHeading::setFirstCharacterAt(int pixels)
{
    m_indent = pixels;
    updateGeometry();
    update();
}

void ColumnHeading::setAfter(const ColumnHeading *before)
{
    m_before = before;
    updateGeometry();
    update();
}

QStringList ColumnHeading::phrases() const
{
    static const QRegularExpression gap(QStringLiteral(" {2,}"));
    return text().trimmed().split(gap, Qt::SkipEmptyParts);
}

std::vector<QRect> ColumnHeading::place(int availableWidth) const
{
    const QFontMetrics fm(font());
    const double c = m_inPixels ? 1.0 : listCharWidth();
    const int indent = m_inPixels ? 0 : m_indent;
    const int blank = fm.horizontalAdvance(QLatin1Char(' ')) * 2;
    std::vector<QRect> rects;
    int previousRight = INT_MIN / 2;
    if (m_before)
        previousRight = m_before->sizeHint().width();
    int nextLeft = std::max(indent, previousRight + blank);
    const QStringList all = phrases();
    for (int i = 0; i < all.size(); ++i) {
        const int w = fm.horizontalAdvance(all[i]);
        int x = nextLeft;
        if (i < int(m_columns.size())) {
            const ListColumn &col = m_columns[i];
            x = col.width > 0 ? int(std::lround(indent + c * (col.start + col.width / 2.0) - w / 2.0))
                              : int(std::lround(indent + c * col.start));
        }
        x = std::max({x, previousRight + blank, 0});
        previousRight = x + w;
        nextLeft = previousRight + blank;
        rects.push_back(x + w <= availableWidth ? QRect(x, 0, w, fm.height()) : QRect());
    }
    return rects;
}

std::vector<QRect> ColumnHeading::phraseRects() const
{
    return place(width());
}

QSize ColumnHeading::sizeHint() const
{
    int right = 0;
    for (const QRect &r : place(INT_MAX / 2))
        right = std::max(right, r.right() + 1);
    return {right, QFontMetrics(font()).height()};
}

QSize ColumnHeading::minimumSizeHint() const
{
    return sizeHint();
}

void ColumnHeading::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setFont(font());
    p.setPen(palette().color(foregroundRole()));
    const QStringList all = phrases();
    const std::vector<QRect> rects = phraseRects();
    for (int i = 0; i < all.size(); ++i) {
        if (!rects[i].isEmpty())
            p.drawText(rects[i], Qt::AlignLeft | Qt::AlignVCenter, all[i]);
    }
}

// ---- ElidingLabel ----

QRect ElidingLabel::textRect() const
{
    // Keep the text off the frame.
    return contentsRect().adjusted(2, 0, -2, 0);
}

bool ElidingLabel::elided() const
{
    return fontMetrics().horizontalAdvance(text()) > textRect().width();
}

QSize ElidingLabel::minimumSizeHint() const
{
    return {fontMetrics().horizontalAdvance(QStringLiteral("…")) + 2 * frameWidth() + 4, QLabel::minimumSizeHint().height()};
}

bool ElidingLabel::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        if (elided())
            QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), text(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(event);
}

void ElidingLabel::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event); // the frame; the text follows
    QPainter p(this);
    p.setPen(palette().color(foregroundRole()));
    const QRect r = textRect();
    p.drawText(r, int(alignment()), fontMetrics().elidedText(text(), Qt::ElideRight, r.width()));
}

// ---- WholeRows ----

WholeRows::WholeRows(QWidget *parent, int minimumRows)
    : QWidget(parent), m_minimumRows(minimumRows)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void WholeRows::add(QListWidget *list)
{
    list->setParent(this);
    list->installEventFilter(this);
    m_lists.push_back(list);
    updateGeometry();
}

bool WholeRows::eventFilter(QObject *watched, QEvent *event)
{
    // Sent whether or not the holder is shown at the moment.
    if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent) {
        setVisible(std::any_of(m_lists.begin(), m_lists.end(), [](const QListWidget *l) { return !l->isHidden(); }));
    }
    return QWidget::eventFilter(watched, event);
}

int WholeRows::rowsHeight(const QListWidget *list, int rows) const
{
    const int row = list->count() > 0 ? list->sizeHintForRow(0) : list->fontMetrics().height();
    return 2 * list->frameWidth() + rows * std::max(1, row);
}

QSize WholeRows::sizeHint() const
{
    QSize s;
    for (const QListWidget *list : m_lists)
        s = s.expandedTo({std::max(list->sizeHint().width(), list->minimumWidth()),
                          rowsHeight(list, std::max(m_minimumRows, 8))});
    return s;
}

QSize WholeRows::minimumSizeHint() const
{
    QSize s;
    for (const QListWidget *list : m_lists)
        s = s.expandedTo({std::max(list->minimumSizeHint().width(), list->minimumWidth()),
                          rowsHeight(list, m_minimumRows)});
    return s;
}

bool WholeRows::event(QEvent *event)
{
    // A list's size limits changed (a narrower model, a new font).
    if (event->type() == QEvent::LayoutRequest) {
        updateGeometry();
        placeLists();
    }
    return QWidget::event(event);
}

void WholeRows::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeLists();
}

void WholeRows::placeLists()
{
    for (QListWidget *list : m_lists) {
        int rows = std::max(1, list->count());
        while (rows > 1 && rowsHeight(list, rows) > height())
            --rows;
        const int w = std::clamp(width(), list->minimumWidth(), list->maximumWidth());
        list->setGeometry(0, 0, w, std::min(height(), rowsHeight(list, rows)));
    }
}

} // namespace vandorelle
