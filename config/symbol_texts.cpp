#include "config/symbol_texts.h"

#include "config/automation_items.h"

namespace vandorelle {

QString shownSymbols(const QString &logicText)
{
    if (logicText == items::kOutsideUp)
        return QStringLiteral("\u2191");
    if (logicText == items::kOutsideDown)
        return QStringLiteral("\u2193");
    if (logicText == items::kOutsideOff)
        return QStringLiteral("DEAKTIV");
    QString shown;
    for (QChar c : logicText) {
        if (c == items::kUp.at(0))
            shown += QChar(0x2191);
        else if (c == items::kDown.at(0))
            shown += QChar(0x2193);
        else if (c == items::kNeutral.at(0))
            shown += QChar(0x25CB);
        else if (c == items::kNext.at(0))
            shown += QChar(0x2192);
        else if (c == items::kNoAction.at(0))
            shown += QChar(0x2013);
        else
            shown += c;
    }
    return shown;
}

} // namespace vandorelle
