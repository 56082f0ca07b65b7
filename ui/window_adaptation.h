#pragma once

#include "link/supervisor.h"
#include "protocol/device_family.h"

namespace vandorelle {

class ShapeWidget;
class TQuorvix;

// The window's answers to the supervisor. Controls are found by object name, so a control
// that a page builds later follows as soon as it exists; missing ones are skipped.
void adaptWindowToFamily(TQuorvix &w, const DeviceFlags &flags);
void showNotConnected(TQuorvix &w);
void showDot(ShapeWidget &dot, DotState state);

} // namespace vandorelle
