#pragma once

#include "protocol/sensor_history.h"
#include "protocol/sensor_quantities.h"
#include "ui/verlauf_thresholds.h"

#include <QFont>
#include <QHash>
#include <QRect>
#include <QStaticText>
#include <QWidget>

#include <functional>
#include <vector>

class QPainter;

namespace vandorelle {

// What one picture of the history shows.
struct PlotScene {
    const SensorHistory *history = nullptr;
    Quantity quantity = Quantity::Helligkeit;
    qint64 endMonotonicMs = 0; // the right edge: now
    qint64 endWallMs = 0;      // the wall clock at the right edge, for the time labels
    qint64 spanMs = 3600 * 1000;
    qint64 gapMs = 5000;       // readings further apart than this are not joined
    std::vector<ThresholdLine> thresholds;
};

// Where the values of the last picture went.
struct PlotGeometry {
    QRect area;         // inside the axes
    double low = 0;     // value at the bottom of the area
    double high = 1;    // value at the top
    qint64 fromMs = 0;  // monotonic time at the left edge
    qint64 toMs = 0;

    int yOf(double value) const;
    int xOf(qint64 monotonicMs) const;
};

// Texts laid out once and kept from one picture to the next: the labels recur, and laying
// text out costs more than drawing it. A few hundred at most.
class LabelCache {
public:
    const QStaticText &operator()(const QString &text, const QFont &font);

private:
    QFont m_font;
    QHash<QString, QStaticText> m_texts;
};

// Draws the scene into `bounds`: axes with German labels, rain and alarm bands, per pixel
// column the range (minimum to maximum) and the mean of each series, the thresholds with
// their captions, a legend.
PlotGeometry paintPlot(QPainter &painter, const QRect &bounds, const PlotScene &scene, LabelCache &labels);

QColor seriesColour(SensorChannel channel);
inline const QColor kRainBand(190, 215, 255);
inline const QColor kAlarmBand(255, 200, 200);

// The diagram of the history window; takes its scene when it paints, so it is never
// behind the store or the history.
class VerlaufPlot : public QWidget {
    Q_OBJECT
public:
    explicit VerlaufPlot(std::function<PlotScene()> scene, QWidget *parent = nullptr);

    const PlotGeometry &geometryOfLastPicture() const { return m_geometry; }
    QSize sizeHint() const override { return {720, 400}; }
    QSize minimumSizeHint() const override { return {360, 220}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::function<PlotScene()> m_scene;
    PlotGeometry m_geometry;
    LabelCache m_labels;
};

} // namespace vandorelle
