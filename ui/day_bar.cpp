#include "ui/day_bar.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vandorelle {

DayBar::DayBar(int unit, QWidget *parent)
    : QWidget(parent), m_unit(unit), m_up(desktopColour())
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QColor DayBar::desktopColour()
{
    // The desktop background has no palette role; this is the classic desktop blue.
    return QColor(58, 110, 165);
}

void DayBar::setColours(const QColor &up, const QColor &down)
{
    if (up == m_up && down == m_down)
        return;
    m_up = up;
    m_down = down;
    update();
}

void DayBar::setSegments(const schedule::BarSegments &segments)
{
    if (segments == m_segments)
        return;
    m_segments = segments;
    update();
}

QColor DayBar::colourOf(const schedule::BarSegment &segment) const
{
    return segment.state == schedule::BarState::Up ? m_up : m_down;
}

QSize DayBar::sizeHint() const
{
    return {m_unit, 17};
}

QSize DayBar::minimumSizeHint() const
{
    return {m_unit / 4, 17};
}

void DayBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const double scale = double(width()) / m_unit;
    auto toPixel = [scale, this](int x) {
        return std::clamp(int(std::lround(x * scale)), 0, width());
    };
    // Later segments lie over earlier ones, as numbers given out of time order overlap.
    for (const schedule::BarSegment &s : m_segments) {
        if (s.width < 1)
            continue;
        const int x0 = toPixel(s.left);
        const int x1 = toPixel(s.left + s.width);
        if (x1 <= x0)
            continue;
        const QRect r(x0, 0, x1 - x0, height());
        const QColor fill = colourOf(s);
        p.fillRect(r, fill);
        if (!s.caption.isEmpty()) {
            p.setPen(fill.lightness() < 128 ? Qt::white : Qt::black);
            p.setClipRect(r);
            p.drawText(r.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, s.caption);
            p.setClipping(false);
        }
    }
}

} // namespace vandorelle
