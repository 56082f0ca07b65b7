#pragma once

#include "protocol/sensor_history.h"
#include "protocol/sensor_quantities.h"
#include "ui/verlauf_thresholds.h"

#include <QRect>
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

// Draws the scene into `bounds`: axes with German labels, rain and alarm bands, per pixel
// column the range (minimum to maximum) and the mean of each series, the thresholds with
// their captions, a legend.
PlotGeometry paintPlot(QPainter &painter, const QRect &bounds, const PlotScene &scene);

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
};

} // namespace vandorelle
