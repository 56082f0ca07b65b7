#pragma once

namespace vandorelle {

// Views that a decoded record asks to be redrawn. The tabs connect to Session::followUp.
enum class FollowUp {
    Beschattung,
    DaemmerungMorgen,
    DaemmerungAbend,
    Wind,
    Regen,
    Reversierung,
    TastAutomatik,
    ProportionaleTemperatur,
    InnenTemperatur,
    Heizung,
    Feuchtigkeit,
    AussenTemperatur,
    AlarmPattern,   // alarm bank display, bank page back to 1
    Gruppen,        // group check boxes of the shown bank
    MotorNamen,     // one name changed
    Parameters,     // global parameter selectors and Soft_GZS
    Schedule,       // switching-time table changed
    LiveValues,     // sensor displays
};

} // namespace vandorelle
