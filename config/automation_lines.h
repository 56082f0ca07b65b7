#pragma once

#include "config/store.h"

#include <QString>

namespace vandorelle {

// Lines of the automation overview lists. Every line starts with the name column:
// the motor name padded with 11 blanks and cut to 12 characters. A code outside its
// item list contributes no characters.
QString nameColumn(const QString &name);

QString shadingLine(const QString &name, const BeschattungRecord &r);
QString dawnLine(const QString &name, const DaemmerungRecord &r);
QString duskLine(const QString &name, const DaemmerungRecord &r);
// The wind line shows the direction kept in the rain record of the same motor.
QString windLine(const QString &name, const WindRecord &r, const RegenRecord &rain);
QString rainLine(const QString &name, const RegenRecord &r);
QString humidityLine(const QString &name, const FeuchtigkeitsRecord &r);
QString proportionalLine(const QString &name, const ProportionaleTemperaturRecord &r);
QString insideLine(const QString &name, const InnenTemperaturRecord &r);
QString outsideLine(const QString &name, const AussenTemperaturRecord &r);
QString pushButtonLine(const QString &name, const TastAutomatikRecord &r, bool tastFunk);
QString reversingLine(const QString &name, const ReversierungRecord &r);

} // namespace vandorelle
