#pragma once

#include "config/schedule_bar.h"

#include <QColor>
#include <QWidget>

namespace vandorelle {

// One bar of switching times: paints nine computed segments, laid out in the bar's fixed
// unit width and scaled to the widget's width, each with its start time as caption.
class DayBar : public QWidget {
    Q_OBJECT
public:
    DayBar(int unit, QWidget *parent = nullptr);

    void setColours(const QColor &up, const QColor &down);
    void setSegments(const schedule::BarSegments &segments);
    const schedule::BarSegments &segments() const { return m_segments; }
    QColor colourOf(const schedule::BarSegment &segment) const;
    int unit() const { return m_unit; }

    // The colours of the schedule page's bar: desktop background after up, black after down.
    static QColor desktopColour();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_unit;
    QColor m_up;
    QColor m_down = Qt::black;
    schedule::BarSegments m_segments{};
};

} // namespace vandorelle
