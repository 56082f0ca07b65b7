#include "ui/automation_editor.h"
#include "ui/shading_tab.h"
#include "ui/verlauf_plot.h"
#include "ui/verlauf_thresholds.h"
#include "ui/verlauf_window.h"
#include "window_fixture.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace vandorelle;

namespace {

constexpr qint64 kHourMs = 3600 * 1000;

// A started window whose history runs on a clock the test sets.
class VerlaufTest : public test::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        w->sensorRecorder.setClock({[this] { return mono; }, [this] { return wall; }});
    }

    void record(qint64 at, float lux, float inside = 21, bool rain = false)
    {
        mono = at;
        wall = wallStart + at;
        SensorReading r;
        r.values.fill(std::nanf(""));
        r.values[LuxCurrent] = lux;
        r.values[InsideTemperature] = inside;
        r.rain = rain;
        w->sensorRecorder.record(r);
    }

    VerlaufWindow *open(const char *button)
    {
        find<QPushButton>(button)->click();
        auto *verlauf = w->findChild<VerlaufWindow *>(QStringLiteral("Verlauf"));
        if (verlauf) {
            verlauf->resize(760, 480);
            QApplication::processEvents();
        }
        return verlauf;
    }

    QImage picture(VerlaufWindow *verlauf) { return verlauf->Verlauf_Diagramm->grab().toImage(); }
    const PlotGeometry &geometry(VerlaufWindow *verlauf) { return verlauf->Verlauf_Diagramm->geometryOfLastPicture(); }

    // The row that shows the colour most strongly at x (a fraction of the diagram's width;
    // a few columns, to step over the gaps of a dashed line), or -1. A smoothed line between
    // two rows shows its colour mixed with the white paper in both: the pixel lies between
    // paper and colour.
    static int rowOf(const QImage &image, const PlotGeometry &g, double x, const QColor &colour)
    {
        const int first = g.area.left() + int(x * g.area.width());
        const double toColour[3] = {255.0 - colour.red(), 255.0 - colour.green(), 255.0 - colour.blue()};
        const double length = toColour[0] * toColour[0] + toColour[1] * toColour[1] + toColour[2] * toColour[2];
        int best = -1;
        double strongest = 0.4;
        for (int column = first; column < first + 8; ++column) {
            for (int y = g.area.top() + 1; y < g.area.bottom(); ++y) {
                const QColor c = image.pixelColor(column, y);
                const double toPixel[3] = {255.0 - c.red(), 255.0 - c.green(), 255.0 - c.blue()};
                const double share =
                    (toPixel[0] * toColour[0] + toPixel[1] * toColour[1] + toPixel[2] * toColour[2]) / length;
                double off = 0;
                for (int k = 0; k < 3; ++k)
                    off += std::abs(toPixel[k] - share * toColour[k]);
                if (off < 30 && share > strongest) {
                    strongest = share;
                    best = y;
                }
            }
        }
        return best;
    }

    qint64 mono = 0;
    qint64 wall = 0;
    const qint64 wallStart = QDateTime(QDate(2025, 6, 1), QTime(12, 0)).toMSecsSinceEpoch();
};

TEST_F(VerlaufTest, EachTabOpensTheOneWindowOnItsQuantity)
{
    VerlaufWindow *verlauf = open("Verlauf_Lux");
    ASSERT_NE(verlauf, nullptr);
    EXPECT_TRUE(verlauf->isVisible());
    EXPECT_FALSE(verlauf->isModal());
    EXPECT_TRUE(verlauf->isWindow());
    EXPECT_EQ(current("Verlauf_Groesse"), QStringLiteral("Helligkeit"));

    choose("Verlauf_Zeitraum", 2);
    EXPECT_EQ(open("Verlauf_Wind"), verlauf);
    EXPECT_EQ(current("Verlauf_Groesse"), QStringLiteral("Wind"));
    EXPECT_EQ(open("Verlauf_Temperatur"), verlauf);
    EXPECT_EQ(verlauf->quantity(), Quantity::Temperatur);
    EXPECT_EQ(verlauf->spanMs(), 24 * kHourMs); // the chosen period stays
    EXPECT_TRUE(w->isEnabled());

    // The user works on in the main window; the polls do not take the focus from it.
    w->show();
    w->activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), w.get());
    for (qint64 t = 0; t < 5 * 900; t += 900)
        record(t, 100);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), w.get());
    EXPECT_TRUE(verlauf->isVisible());
}

TEST_F(VerlaufTest, ThresholdsAreThoseOfTheMotorsShownInTheTabsEditors)
{
    ConfigStore &s = store();
    s.Beschattung[0] = {0, 32, 5, 15, 40, 9, 1};  // on, 140
    s.DaemmerungMorgen[0].EinAus = 0;             // on, code 109: 110
    s.Wind[0] = {0, 7, 1};                        // on, 40 km/h
    s.FeuchtigkeitsSteuerung[0].EinAus = 0;       // 76 % and 66 %
    s.InnenTemperatursteuerung[0].EinAus = 0;     // 22 °C and 20 °C
    s.AussenTemperatursteuerung[0].EinAus = 0;    // 2 °C; threshold 2 hidden: deactivates
    s.AussenTemperatursteuerung[0].Richtung = 2;
    s.ProportionaleTemperatursteuerung[0].EinAus = 0;          // on, but its set-point is
    s.ProportionaleTemperatursteuerung[0].SollTemperatur = 99; // out of the list: no line
    w->refreshAllViews();

    auto captions = [this](Quantity q) {
        QStringList texts;
        for (const ThresholdLine &t : thresholdLines(*w, q))
            texts << t.caption;
        return texts;
    };
    EXPECT_EQ(captions(Quantity::Helligkeit),
              QStringList({"Beschattung Motor 1: 140 Lux", "Dämmerung morgens Motor 1: 110 Lux"}));
    EXPECT_EQ(captions(Quantity::Wind), QStringList({"Wind Motor 1: 40 km/h"}));
    EXPECT_EQ(captions(Quantity::Luftfeuchtigkeit),
              QStringList({"Feuchte Motor 1 Schwelle 1: 76 %", "Feuchte Motor 1 Schwelle 2: 66 %"}));
    EXPECT_EQ(captions(Quantity::Temperatur),
              QStringList({"Innentemperatur Motor 1 Schwelle 1: 22 °C", "Innentemperatur Motor 1 Schwelle 2: 20 °C",
                           "Außentemperatur Motor 1 Schwelle 1: 2 °C"}));
}

TEST_F(VerlaufTest, ThresholdLineSitsAtItsValueAndFollowsTheComboAndTheMotor)
{
    // Half an hour at 100, half an hour at 180.
    for (qint64 t = 0; t <= kHourMs; t += 900)
        record(t, t < kHourMs / 2 ? 100 : 180);
    store().Beschattung[0].EinAus = 0;
    store().Beschattung[1].EinAus = 0;
    store().Beschattung[1].Helligkeit = 20; // 120
    enterPage(w->beschattung);
    choose("BA_Lux", 40); // 140

    VerlaufWindow *verlauf = open("Verlauf_Lux");
    ASSERT_NE(verlauf, nullptr);
    QImage image = picture(verlauf);
    const PlotGeometry g = geometry(verlauf);
    const QColor curve = seriesColour(LuxCurrent);
    const QColor line = thresholdLines(*w, Quantity::Helligkeit).at(0).colour;
    const int at100 = rowOf(image, g, 0.25, curve);
    const int at180 = rowOf(image, g, 0.85, curve);
    ASSERT_GT(at100, at180 + 20);
    for (double x : {0.5, 0.7, 0.95})
        EXPECT_NEAR(rowOf(image, g, x, line), (at100 + at180) / 2.0, 1.5) << x;

    choose("BA_Lux", 80); // 180: on the second half of the curve
    image = picture(verlauf);
    EXPECT_NEAR(rowOf(image, g, 0.6, line), at180, 1.5);
    EXPECT_EQ(rowOf(image, g, 0.6, line), rowOf(image, g, 0.9, line));

    choose("BA_Raum", 1); // the other motor's threshold
    image = picture(verlauf);
    EXPECT_NEAR(rowOf(image, g, 0.6, line), at100 + (at180 - at100) / 4.0, 1.5);
    choose("BA_EIN_AUS", 1); // switched off: no line
    EXPECT_EQ(rowOf(picture(verlauf), g, 0.6, line), -1);
}

TEST_F(VerlaufTest, ExportWritesTheShownSeriesAsGermanCsv)
{
    // Three readings of one 10 s slot, averaged after an hour; then a wet one with
    // the inside sensor missing.
    record(0, 10, 21.5f);
    record(900, 20, std::nanf(""));
    record(1800, 33, 22);
    record(kHourMs + 100'000, 7, std::nanf(""), true);

    VerlaufWindow *verlauf = open("Verlauf_Temperatur");
    ASSERT_NE(verlauf, nullptr);
    choose("Verlauf_Zeitraum", 2);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("verlauf.csv"));
    ui::dialogHooks().chooseFile = [&](QFileDialog *) { return path; };
    find<QPushButton>("Verlauf_Export")->click();

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray expected =
        "\xEF\xBB\xBF"
        "Zeit;Innentemperatur (\xC2\xB0" "C);Innentemperatur Minimum (\xC2\xB0" "C);"
        "Innentemperatur Maximum (\xC2\xB0" "C);Au\xC3\x9F" "entemperatur (\xC2\xB0" "C);"
        "Au\xC3\x9F" "entemperatur Minimum (\xC2\xB0" "C);Au\xC3\x9F" "entemperatur Maximum (\xC2\xB0" "C);Regen;Alarm\r\n"
        "01.06.2025 12:00:00;21,8;21,5;22;;;;0;0\r\n"
        "01.06.2025 13:01:40;;;;;;;1;0\r\n";
    EXPECT_EQ(file.readAll(), expected);

    // A folder that is not there: a message, no file.
    const QString nowhere = dir.filePath(QStringLiteral("fehlt/verlauf.csv"));
    ui::dialogHooks().chooseFile = [&](QFileDialog *) { return nowhere; };
    find<QPushButton>("Verlauf_Export")->click();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith(QDir::toNativeSeparators(nowhere))) << qPrintable(errors[0]);
    EXPECT_FALSE(QFile::exists(nowhere));
}

} // namespace
