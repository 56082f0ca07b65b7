#include "ui/manual_control.h"

#include "ui/main_window.h"

namespace vandorelle {

ManualControl::ManualControl(TQuorvix *window, QWidget *parent)
    : QGroupBox(parent), w(window)
{
    setObjectName(QStringLiteral("Handsteuerung"));
}

void ManualControl::startUp() {}
void ManualControl::Handsteuerung_MaskeEnter() {}
void ManualControl::Handsteuerung_MaskeExit() {}
void ManualControl::refreshLabels() {}

} // namespace vandorelle
