#include "sim/sensors.h"

#include <algorithm>
#include <cmath>

namespace vandorelle::sim {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kMeanBrightnessSeconds = 600;
constexpr double kRainStartsPerSecond = 1.0 / 1200;
// Gusts last seconds: a faster clock advances the weather in steps no longer than this.
constexpr double kLongestStep = 2.0;

// Whole degrees and the tenth after the comma, as the sensor record carries them.
int wholeDegrees(int tenths) { return tenths / 10; }
int tenthDigit(int tenths) { return std::abs(tenths) % 10; }

double dayFraction(const QDateTime &t) { return t.time().msecsSinceStartOfDay() / 86400000.0; }

} // namespace

SensorModel::SensorModel(uint32_t seed, double timeScale) : rng_(seed), timeScale_(timeScale) {}

void SensorModel::advance(double seconds, const QDateTime &localTime)
{
    double left = std::clamp(seconds, 0.0, 60.0) * timeScale_;
    do {
        const double now = std::min(left, kLongestStep);
        step(now, localTime);
        left -= now;
    } while (left > 1e-9);
}

void SensorModel::step(double seconds, const QDateTime &localTime)
{
    updateRain(seconds);
    updateLight(seconds, localTime);
    updateWind(seconds);
    updateTemperatures(seconds, localTime);
    if (!started_) {
        started_ = true;
        meanBrightness_ = brightness_;
        insideMin_ = insideMax_ = wholeDegrees(insideTenths_);
        outsideMin_ = outsideMax_ = wholeDegrees(outsideTenths_);
        maxWind_ = wind_;
    }
    insideMin_ = std::min(insideMin_, wholeDegrees(insideTenths_));
    insideMax_ = std::max(insideMax_, wholeDegrees(insideTenths_));
    outsideMin_ = std::min(outsideMin_, wholeDegrees(outsideTenths_));
    outsideMax_ = std::max(outsideMax_, wholeDegrees(outsideTenths_));
}

void SensorModel::updateLight(double seconds, const QDateTime &localTime)
{
    const double phase = 2 * kPi * (localTime.date().dayOfYear() - 80) / 365.0;
    const double halfDayHours = 6.0 + 2.0 * std::sin(phase);
    const double hour = dayFraction(localTime) * 24;
    const double fromNoon = hour - 13.0;
    double sun = 0;
    if (std::abs(fromNoon) < halfDayHours) sun = std::cos(fromNoon / halfDayHours * kPi / 2);

    std::normal_distribution<double> drift(0, 0.02 * std::sqrt(std::max(seconds, 0.01)));
    cloud_ = std::clamp(cloud_ + drift(rng_), 0.3, 1.0);
    const double cover = raining_ ? std::min(cloud_, 0.35) : cloud_;
    brightness_ = std::clamp(int(std::lround(255 * std::pow(sun, 0.6) * cover)), 0, 255);
    const double k = std::min(1.0, seconds / kMeanBrightnessSeconds);
    meanBrightness_ += (brightness_ - meanBrightness_) * k;
}

void SensorModel::updateWind(double seconds)
{
    std::normal_distribution<double> drift(0, 1.2 * std::sqrt(std::max(seconds, 0.01)));
    baseWind_ = std::clamp(baseWind_ + drift(rng_) - 0.01 * seconds * (baseWind_ - 10), 0.0, 45.0);
    gust_ *= std::exp(-seconds / 4.0);
    if (std::bernoulli_distribution(std::min(1.0, 0.04 * seconds))(rng_))
        gust_ += std::uniform_real_distribution<double>(8, 35)(rng_);
    wind_ = std::clamp(baseWind_ + gust_, 0.0, 130.0);
    maxWind_ = std::max(maxWind_, wind_);
}

void SensorModel::updateRain(double seconds)
{
    if (raining_) {
        rainLeft_ -= seconds;
        if (rainLeft_ <= 0) raining_ = false;
    } else if (started_ && std::bernoulli_distribution(std::min(1.0, kRainStartsPerSecond * seconds))(rng_)) {
        raining_ = true;
        rainLeft_ = std::uniform_real_distribution<double>(180, 720)(rng_);
    }
}

void SensorModel::updateTemperatures(double seconds, const QDateTime &localTime)
{
    const double season = -std::cos(2 * kPi * (localTime.date().dayOfYear() - 15) / 365.0); // -1 Jan .. 1 Jul
    const double daily = std::sin(2 * kPi * (dayFraction(localTime) - 9.0 / 24));
    std::normal_distribution<double> drift(0, 0.05 * std::sqrt(std::max(seconds, 0.01)));
    outsideNoise_ = std::clamp(outsideNoise_ + drift(rng_), -1.5, 1.5);
    insideNoise_ = std::clamp(insideNoise_ + drift(rng_) * 0.5, -0.5, 0.5);

    const double outside = 10 + 9 * season + 5 * daily + outsideNoise_ - (raining_ ? 2.0 : 0.0);
    const double inside = 21 + 1.2 * daily + brightness_ * 0.008 + insideNoise_;
    outsideTenths_ = int(std::lround(outside * 10));
    insideTenths_ = int(std::lround(inside * 10));

    const double target = std::clamp(60 - 12 * daily + (raining_ ? 25 : 0), 25.0, 97.0);
    humidity_ += (target - humidity_) * std::min(1.0, seconds / 120);
}

std::array<int64_t, 16> SensorModel::readings() const
{
    return {
        brightness_,
        wholeDegrees(insideTenths_), tenthDigit(insideTenths_), insideMin_, insideMax_,
        wholeDegrees(outsideTenths_), tenthDigit(outsideTenths_), outsideMin_, outsideMax_,
        windKmh(), int(maxWind_ + 0.5),
        0, // alarm input
        raining_ ? 1 : 0,
        windKmh(),
        int(std::lround(meanBrightness_)),
        int(std::lround(humidity_)),
    };
}

} // namespace vandorelle::sim
