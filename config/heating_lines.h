#pragma once

#include "config/store.h"

#include <QString>

namespace vandorelle::heating {

// The line of one motor in the heating overview list: name column of 12, on/off, and
// while on the mode and both set-points right-aligned in 11 characters each.
QString listLine(const QString &name, const HeizungsRecord &record);

// A text right-aligned in a field of 11: one blank plus 10 - length blanks before a
// shorter text, nothing before a text of 10 characters or more.
QString rightAligned11(const QString &text);

} // namespace vandorelle::heating
