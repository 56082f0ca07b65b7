#pragma once

#include <QDateTime>

#include <array>
#include <cstdint>
#include <random>

namespace vandorelle::sim {

// The weather at the controller's sensors: brightness on a day curve with passing
// clouds, gusting wind with its maximum, rain spells, inside and outside temperatures
// with their extremes, humidity. Advanced in real time (or `timeScale` times faster),
// reproducible from a seed.
class SensorModel {
public:
    explicit SensorModel(uint32_t seed, double timeScale = 1);

    void advance(double seconds, const QDateTime &localTime);
    void resetMaxWind() { maxWind_ = wind_; }

    int brightness() const { return brightness_; }
    int windKmh() const { return int(wind_ + 0.5); }
    bool raining() const { return raining_; }
    double outsideTemperature() const { return outsideTenths_ / 10.0; }

    // The sixteen values of the sensor record, in order.
    std::array<int64_t, 16> readings() const;

private:
    void step(double seconds, const QDateTime &localTime);
    void updateLight(double seconds, const QDateTime &localTime);
    void updateWind(double seconds);
    void updateRain(double seconds);
    void updateTemperatures(double seconds, const QDateTime &localTime);

    std::mt19937 rng_;
    double timeScale_;
    bool started_ = false;
    double cloud_ = 0.8;       // 0 overcast .. 1 clear
    int brightness_ = 0;
    double meanBrightness_ = 0;
    double baseWind_ = 8;
    double gust_ = 0;
    double wind_ = 8;
    double maxWind_ = 8;
    bool raining_ = false;
    double rainLeft_ = 0;      // seconds of the current spell
    int outsideTenths_ = 120;
    int insideTenths_ = 210;
    double outsideNoise_ = 0;
    double insideNoise_ = 0;
    int outsideMin_ = 0, outsideMax_ = 0, insideMin_ = 0, insideMax_ = 0;
    double humidity_ = 55;
};

} // namespace vandorelle::sim
