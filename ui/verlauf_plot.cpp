#include "ui/verlauf_plot.h"

#include "protocol/sensor_csv.h"

#include <QDateTime>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

namespace vandorelle {

namespace {

constexpr float kNone = std::numeric_limits<float>::infinity();

// The painter's texts, laid out through the cache and measured with its font.
struct Text {
    QPainter &p;
    LabelCache &cache;
    QFontMetrics fm;

    double width(const QString &text) { return cache(text, p.font()).size().width(); }
    // On the baseline at y; `anchor` 0 puts the left end at x, 0.5 the middle, 1 the right end.
    void draw(double x, double y, const QString &text, double anchor = 0)
    {
        const QStaticText &laid = cache(text, p.font());
        p.drawStaticText(QPointF(x - anchor * laid.size().width(), y - fm.ascent()), laid);
    }
};

// One pixel column of one series.
struct Column {
    float min = kNone;
    float max = -kNone;
    double sum = 0;
    quint32 count = 0;
    bool breakBefore = false; // not joined to the column before
};

struct Band {
    qint64 from, to;
};

struct Aggregate {
    std::vector<std::vector<Column>> series;
    std::vector<Band> rain, alarm;
    float low = kNone, high = -kNone;
    bool any() const { return low <= high; }
};

// A run of wet (or alarm) readings lasts until the first dry one, unless the readings stop.
void extendBand(std::vector<Band> &bands, bool on, bool &open, const SensorPoint &p, qint64 gapMs)
{
    if (open && p.monotonicMs - bands.back().to > gapMs)
        open = false;
    if (on) {
        if (open)
            bands.back().to = p.lastMonotonicMs();
        else
            bands.push_back({p.monotonicMs, p.lastMonotonicMs()});
        open = true;
    } else if (open) {
        bands.back().to = p.monotonicMs;
        open = false;
    }
}

// Consecutive points mostly fall into the same column: they are summed here and the
// column is written once when the next one starts.
struct SeriesBuilder {
    SeriesBuilder(SensorChannel c, std::vector<Column> *into, qint64 gap) : channel(c), columns(into), gapMs(gap) {}

    SensorChannel channel;
    std::vector<Column> *columns;
    qint64 gapMs;
    qint64 lastReading = std::numeric_limits<qint64>::min();
    bool pendingBreak = false;
    int x = -1;
    Column current;

    void add(const SensorPoint &p, int column)
    {
        if (p.count[channel] == 0) {
            pendingBreak = true;
            return;
        }
        if (p.monotonicMs - lastReading > gapMs)
            pendingBreak = true;
        if (column != x) {
            flush();
            x = column;
            current = (*columns)[std::size_t(x)];
        }
        if (current.count == 0)
            current.breakBefore = pendingBreak;
        pendingBreak = false;
        current.min = std::min(current.min, p.min[channel]);
        current.max = std::max(current.max, p.max[channel]);
        current.sum += double(p.mean[channel]) * p.count[channel];
        current.count += p.count[channel];
        lastReading = p.lastMonotonicMs();
    }
    void flush()
    {
        if (x >= 0)
            (*columns)[std::size_t(x)] = current;
    }
};

Aggregate aggregate(const PlotScene &scene, int width, qint64 from, qint64 to)
{
    const QuantityInfo &info = quantityInfo(scene.quantity);
    const std::size_t n = info.series.size();
    Aggregate a;
    a.series.assign(n, std::vector<Column>(std::size_t(std::max(width, 1))));
    std::vector<SeriesBuilder> builders;
    for (std::size_t s = 0; s < n; ++s)
        builders.emplace_back(info.series[s].channel, &a.series[s], scene.gapMs);
    bool rainOpen = false, alarmOpen = false;
    const double perMs = double(width) / double(std::max<qint64>(to - from, 1));

    scene.history->visit(from, [&](const SensorPoint &p) {
        extendBand(a.rain, p.rain, rainOpen, p, scene.gapMs);
        extendBand(a.alarm, p.alarm, alarmOpen, p, scene.gapMs);
        const qint64 t = p.middleMonotonicMs();
        if (t < from || t > to)
            return;
        const int x = std::clamp(int(double(t - from) * perMs), 0, width - 1);
        for (SeriesBuilder &b : builders)
            b.add(p, x);
    });
    for (SeriesBuilder &b : builders)
        b.flush();
    for (const std::vector<Column> &columns : a.series) {
        for (const Column &c : columns) {
            if (c.count > 0) {
                a.low = std::min(a.low, c.min);
                a.high = std::max(a.high, c.max);
            }
        }
    }
    return a;
}

double niceStep(double rough)
{
    const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
    for (double m : {1.0, 2.0, 2.5, 5.0})
        if (m * magnitude >= rough)
            return m * magnitude;
    return 10 * magnitude;
}

// The value range: data and thresholds, on round ticks.
struct ValueAxis {
    double low, high, step;
};

ValueAxis valueAxis(const PlotScene &scene, const Aggregate &a)
{
    const QuantityInfo &info = quantityInfo(scene.quantity);
    double low = a.any() ? a.low : kNone, high = a.any() ? a.high : -kNone;
    for (const ThresholdLine &t : scene.thresholds) {
        low = std::min(low, t.value);
        high = std::max(high, t.value);
    }
    if (low > high) { // nothing to show yet
        low = info.fromZero ? 0 : 10;
        high = info.fromZero ? 100 : 25;
    }
    if (info.fromZero)
        low = std::min(low, 0.0);
    if (high - low < 2) { // a flat line in the middle, not on the frame
        low -= 1;
        high += 1;
    }
    const double step = niceStep((high - low) / 5);
    low = std::floor(low / step) * step;
    high = std::ceil(high / step) * step;
    if (high - low < step / 2)
        high = low + step;
    return {low, high, step};
}

qint64 timeStep(qint64 spanMs)
{
    constexpr qint64 minute = 60 * 1000;
    if (spanMs <= 3600 * 1000)
        return 10 * minute;
    if (spanMs <= 6 * 3600 * 1000)
        return 60 * minute;
    return 180 * minute;
}

void drawTimeAxis(QPainter &p, const PlotGeometry &g, const PlotScene &scene, Text &text)
{
    const QFontMetrics &fm = text.fm;
    const qint64 step = timeStep(scene.spanMs);
    const qint64 wallFrom = scene.endWallMs - scene.spanMs;
    // Round local times: 10:00, 10:10 ...
    const int sinceMidnight = QDateTime::fromMSecsSinceEpoch(wallFrom).time().msecsSinceStartOfDay();
    qint64 wall = wallFrom + (step - sinceMidnight % step) % step;
    const QColor grid(225, 225, 225);
    for (; wall <= scene.endWallMs; wall += step) {
        const int x = g.xOf(scene.endMonotonicMs - (scene.endWallMs - wall));
        p.setPen(grid);
        p.drawLine(x, g.area.top(), x, g.area.bottom());
        p.setPen(Qt::black);
        p.drawLine(x, g.area.bottom(), x, g.area.bottom() + 3);
        const QString label = QDateTime::fromMSecsSinceEpoch(wall).toString(QStringLiteral("HH:mm"));
        text.draw(x, g.area.bottom() + 4 + fm.ascent(), label, 0.5);
    }
    const QString title = QStringLiteral("Uhrzeit");
    text.draw(g.area.center().x(), g.area.bottom() + 6 + fm.height() + fm.ascent(), title, 0.5);
}

void drawValueAxis(QPainter &p, const PlotGeometry &g, const ValueAxis &axis, const QString &title, Text &text)
{
    const QFontMetrics &fm = text.fm;
    const QColor grid(225, 225, 225);
    for (double v = axis.low; v <= axis.high + axis.step / 100; v += axis.step) {
        const int y = g.yOf(v);
        p.setPen(grid);
        p.drawLine(g.area.left(), y, g.area.right(), y);
        p.setPen(Qt::black);
        p.drawLine(g.area.left() - 3, y, g.area.left(), y);
        const QString label = germanDecimal(v);
        text.draw(g.area.left() - 5, y + fm.ascent() / 2 - 1, label, 1);
    }
    // Over the axis, not turned: turned text is drawn glyph by glyph, and slowly.
    text.draw(std::max(0.0, g.area.left() - text.width(title) / 2), g.area.top() - 6 - fm.descent(), title);
}

void drawBands(QPainter &p, const PlotGeometry &g, const std::vector<Band> &bands, const QColor &colour)
{
    for (const Band &b : bands) {
        const int left = std::max(g.xOf(b.from), g.area.left());
        const int right = std::min(g.xOf(b.to), g.area.right());
        if (right >= left)
            p.fillRect(QRect(left, g.area.top(), std::max(right - left, 1), g.area.height()), colour);
    }
}

// The range from minimum to maximum per column, then the mean as a line over it.
void drawSeries(QPainter &p, const PlotGeometry &g, const std::vector<Column> &columns, const QColor &colour)
{
    const double scale = g.area.height() / (g.high - g.low);
    // On pixel centres, as the threshold lines lie.
    auto yOf = [&](double v) { return g.area.bottom() + 0.5 - (v - g.low) * scale; };
    std::vector<QLine> spans;
    spans.reserve(columns.size());
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const Column &c = columns[i];
        if (c.count > 0 && c.max > c.min) {
            const int x = g.area.left() + int(i);
            spans.emplace_back(x, int(yOf(c.max)), x, int(yOf(c.min)));
        }
    }
    QColor range = colour;
    range.setAlpha(70);
    p.setPen(range);
    p.drawLines(spans.data(), int(spans.size()));

    p.setPen(QPen(colour, 1));
    p.setRenderHint(QPainter::Antialiasing, true);
    std::vector<QPointF> line;
    line.reserve(columns.size());
    auto flush = [&] {
        if (line.size() == 1)
            p.drawPoint(line.front());
        else if (line.size() > 1)
            p.drawPolyline(line.data(), int(line.size()));
        line.clear();
    };
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const Column &c = columns[i];
        if (c.count == 0)
            continue;
        if (c.breakBefore)
            flush();
        line.emplace_back(g.area.left() + double(i) + 0.5, yOf(c.sum / c.count));
    }
    flush();
    p.setRenderHint(QPainter::Antialiasing, false);
}

// The captions go under the curves (on translucent paper) and the dashed lines over them,
// so that neither hides the other.
void drawThresholdCaptions(QPainter &p, const PlotGeometry &g, const std::vector<ThresholdLine> &lines, Text &text)
{
    const QFontMetrics &fm = text.fm;
    std::vector<QRect> captions;
    for (const ThresholdLine &t : lines) {
        const int y = g.yOf(t.value);
        QRect box(0, 0, int(std::ceil(text.width(t.caption))) + 6, fm.height());
        const bool below = y - box.height() < g.area.top();
        box.moveTo(g.area.left() + 4, below ? y + 2 : y - box.height() - 1);
        // Captions of lines close together stand side by side.
        for (const QRect &other : captions)
            if (other.intersects(box))
                box.moveLeft(other.right() + 8);
        captions.push_back(box);
        p.fillRect(box, QColor(255, 255, 255, 170));
        p.setPen(t.colour);
        text.draw(box.left() + 3, box.top() + fm.ascent(), t.caption);
    }
}

void drawThresholdLines(QPainter &p, const PlotGeometry &g, const std::vector<ThresholdLine> &lines)
{
    for (const ThresholdLine &t : lines) {
        const int y = g.yOf(t.value);
        p.setPen(QPen(t.colour, 1, Qt::DashLine));
        p.drawLine(g.area.left(), y, g.area.right(), y);
    }
}

// Right-aligned over the diagram; the value axis has its title on the left.
void drawLegend(QPainter &p, const QRect &bounds, const QuantityInfo &info, Text &text)
{
    const QFontMetrics &fm = text.fm;
    struct Item {
        QString label;
        std::function<void(const QRect &)> swatch;
    };
    std::vector<Item> items;
    for (const QuantitySeries &s : info.series)
        items.push_back({s.label, [&p, channel = s.channel](const QRect &r) {
                             p.setPen(QPen(seriesColour(channel), 2));
                             p.drawLine(r.left(), r.center().y(), r.right(), r.center().y());
                         }});
    items.push_back({QStringLiteral("Regen"), [&p](const QRect &r) { p.fillRect(r, kRainBand); }});
    items.push_back({QStringLiteral("Alarm"), [&p](const QRect &r) { p.fillRect(r, kAlarmBand); }});
    int width = 0;
    for (const Item &item : items)
        width += 22 + int(std::ceil(text.width(item.label))) + 14;
    int x = bounds.right() - width;
    const int y = bounds.top() + 4;
    for (const Item &item : items) {
        item.swatch(QRect(x, y + fm.height() / 2 - 5, 18, 10));
        x += 22;
        p.setPen(Qt::black);
        text.draw(x, y + fm.ascent(), item.label);
        x += int(std::ceil(text.width(item.label))) + 14;
    }
}

} // namespace

int PlotGeometry::yOf(double value) const
{
    return area.bottom() - int(std::lround((value - low) / (high - low) * area.height()));
}

int PlotGeometry::xOf(qint64 monotonicMs) const
{
    return area.left() + int(std::floor(double(monotonicMs - fromMs) * area.width() / double(toMs - fromMs)));
}

QColor seriesColour(SensorChannel channel)
{
    switch (channel) {
    case LuxCurrent: return {230, 140, 0};
    case LuxMean: return {120, 90, 30};
    case InsideTemperature: return {230, 110, 0};
    case OutsideTemperature: return {30, 100, 200};
    case WindSpeed: return {0, 130, 130};
    case Humidity: return {30, 100, 200};
    }
    return Qt::black;
}

const QStaticText &LabelCache::operator()(const QString &text, const QFont &font)
{
    if (font != m_font || m_texts.size() > 512) {
        m_texts.clear();
        m_font = font;
    }
    auto it = m_texts.find(text);
    if (it == m_texts.end()) {
        QStaticText laid(text);
        laid.setTextFormat(Qt::PlainText);
        laid.prepare(QTransform(), font);
        it = m_texts.insert(text, laid);
    }
    return *it;
}

PlotGeometry paintPlot(QPainter &p, const QRect &bounds, const PlotScene &scene, LabelCache &labels)
{
    const QuantityInfo &info = quantityInfo(scene.quantity);
    Text text{p, labels, p.fontMetrics()};
    const QFontMetrics &fm = text.fm;
    p.fillRect(bounds, Qt::white);

    PlotGeometry g;
    const int left = fm.height() + 10 + fm.horizontalAdvance(QStringLiteral("-888,8"));
    const int top = fm.height() + 10;
    const int bottom = 2 * fm.height() + 10;
    g.area = QRect(bounds.left() + left, bounds.top() + top, std::max(bounds.width() - left - 16, 10),
                   std::max(bounds.height() - top - bottom, 10));
    g.toMs = scene.endMonotonicMs;
    g.fromMs = scene.endMonotonicMs - scene.spanMs;

    const Aggregate a = aggregate(scene, g.area.width(), g.fromMs, g.toMs);
    const ValueAxis axis = valueAxis(scene, a);
    g.low = axis.low;
    g.high = axis.high;

    p.save();
    p.setClipRect(g.area.adjusted(0, 0, 1, 1));
    drawBands(p, g, a.rain, kRainBand);
    drawBands(p, g, a.alarm, kAlarmBand);
    p.restore();
    drawValueAxis(p, g, axis, info.axisTitle(), text);
    drawTimeAxis(p, g, scene, text);
    p.save();
    p.setClipRect(g.area.adjusted(0, 0, 1, 1));
    drawThresholdCaptions(p, g, scene.thresholds, text);
    for (std::size_t s = 0; s < info.series.size(); ++s)
        drawSeries(p, g, a.series[s], seriesColour(info.series[s].channel));
    drawThresholdLines(p, g, scene.thresholds);
    p.restore();
    p.setPen(Qt::black);
    p.drawRect(g.area);
    drawLegend(p, bounds, info, text);
    if (!a.any()) {
        const QString text = QStringLiteral("Keine Messwerte in diesem Zeitraum");
        p.drawText(g.area, Qt::AlignCenter, text);
    }
    return g;
}

VerlaufPlot::VerlaufPlot(std::function<PlotScene()> scene, QWidget *parent)
    : QWidget(parent), m_scene(std::move(scene))
{
    setObjectName(QStringLiteral("Verlauf_Diagramm"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void VerlaufPlot::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    m_geometry = paintPlot(p, rect(), m_scene(), m_labels);
}

} // namespace vandorelle
