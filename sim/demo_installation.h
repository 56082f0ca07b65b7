#pragma once

#include "config/store.h"

namespace vandorelle::sim {

// A plausible house: eight named rooms with switching times for work days, weekends and
// the whole week, and automatic functions switched on for a few of them, so that every
// tab has something to show. Shipped as demo/Musterhaus.vsk, written from this.
ConfigStore demoInstallation();

} // namespace vandorelle::sim
