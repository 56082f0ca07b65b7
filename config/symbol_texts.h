#pragma once

#include <QString>

namespace vandorelle {

// The symbol-font texts ("é", "ê", ...) stay what the logic compares; wherever they are shown
// they become the glyph they stand for, since those fonts are not there to draw them.
QString shownSymbols(const QString &logicText);

} // namespace vandorelle
