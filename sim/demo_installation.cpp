#include "sim/demo_installation.h"

#include <initializer_list>

namespace vandorelle::sim {

namespace {

constexpr int kOn = 0; // item "EIN" of the on/off boxes
constexpr int kMonToFri[] = {1, 2, 3, 4, 5};

void place(ConfigStore &s, int motor, int number, const SchaltzeitEntry &e, std::initializer_list<int> days)
{
    for (int d : days)
        s.entry(d, motor, number) = e;
}

void placeSchedule(ConfigStore &s, int motor)
{
    const int shift = (motor - 1) * 5; // minutes; the rooms do not all move at once
    const SchaltzeitEntry workdayUp{0, timeCode(6, 30 + shift), 39, 5, 0, 1};
    for (int d : kMonToFri)
        s.entry(d, motor, 1) = workdayUp;
    place(s, motor, 2, {0, timeCode(8, 15 + shift), 39, 2, 0, 1}, {6, 7});
    place(s, motor, 3, {1, timeCode(21, shift), 39, 7, 0, 1}, {1, 2, 3, 4, 5, 6, 7});
    // Number 2 is free on work days; a day's numbers stay in time order, as the bars expect.
    if (motor % 2 == 0)
        place(s, motor, 2, {1, timeCode(12, 30), 15, 1, 1, 1}, {3});
    if (motor == 1)
        place(s, motor, 2, {0, timeCode(17, 45), 60, 1, 2, 1}, {5});
}

} // namespace

ConfigStore demoInstallation()
{
    ConfigStore s;
    const char *const rooms[] = {"Küche",        "Wohnzimmer",   "Esszimmer", "Bad",
                                 "Büro",         "Schlafzimmer", "Kinderzimmer", "Wintergarten"};
    for (int m = 0; m < 8; ++m) {
        s.MotorNamen[m] = QString::fromUtf8(rooms[m]);
        placeSchedule(s, m + 1);
    }

    for (int m = 0; m < kMotors; ++m) {
        const bool on = m == 0 || m % 3 == 1; // motor 1 always, so its details show
        const int onOff = on ? kOn : 1;
        s.Beschattung[m].EinAus = onOff;
        s.Beschattung[m].Helligkeit = 80 + m; // 180 and up: a bright sky, not every cloud gap
        s.DaemmerungMorgen[m].EinAus = onOff;
        s.DaemmerungAbend[m].EinAus = onOff;
        s.DaemmerungAbend[m].Helligkeit = 59;  // closes darker than the morning opens (110)
        s.DaemmerungAbend[m].Von = m % 9;
        s.Wind[m].EinAus = onOff;
        s.Wind[m].Geschwindigkeit = 3 + m % 10;
        s.Regen[m].EinAus = onOff;
        s.Reversierung[m].EinAus = onOff;
        s.TastAutomatik[m].EinAus = onOff;
        s.ProportionaleTemperatursteuerung[m].EinAus = onOff;
        s.InnenTemperatursteuerung[m].EinAus = onOff;
        s.HeizungsSteuerung[m].EinAus = onOff;
        s.HeizungsSteuerung[m].TagTemperatur = 180 + m;
        s.FeuchtigkeitsSteuerung[m].EinAus = onOff;
        s.AussenTemperatursteuerung[m].EinAus = onOff;
        s.AlarmPattern[m] = m % 3;
    }
    s.GruppenZentralsteuerung[0][0] = 0x0F;
    s.GruppenZentralsteuerung[0][1] = 0xF0;
    s.GruppenZentralsteuerung[0][2] = 0xFF;
    s.GruppenZentralsteuerung[1][0] = 0x81;
    return s;
}

} // namespace vandorelle::sim
