#include "protocol/logbook_lines.h"

#include "config/text_codec.h"

#include <iterator>

namespace vandorelle {

namespace {

struct CauseText {
    const char16_t *display;
    const char16_t *exported; // nullptr: as displayed
};

// Cause 0 takes its text from the sub-code; these are sub-codes 0, 1, 2.
constexpr CauseText kSwitchingTimeTexts[] = {
    {u"Fest programmierte Schaltzeit", nullptr},
    {u"Programmierte Schaltzeit mit Solarfunktion", u"Programmierte Schaltzeit mit Astrofunktion"},
    {u"Programmierte Schaltzeit mit Zufallsfunktion", nullptr},
};

// Causes 1 .. 24.
constexpr CauseText kCauseTexts[] = {
    {u"Beschattungs-Automatik", nullptr},
    {u"Dämmerungs-Automatik", nullptr},
    {u"Einfahren bei Wind", nullptr},
    {u"Manuelle Auslösung des Motors an der Steuerung", nullptr},
    {u"Abbruch durch Vorrang des Bedienschalters", nullptr},
    {u"Einfahren bei Regen", nullptr},
    {u"Innen-Temperatursteuerung", u"Innentemperatur-Automatik"},
    {u"Alarm bzw. Zentralschalter ausgelöst", u"Alarmkontakt wurde ausgelöst"},
    {u"Neustart nach Anlagen-Reset", nullptr},
    {u"Außen-Temperatursteuerung", u"Außentemperatur-Automatik"},
    {u"Durch Außen-Temper.-Strg ist Motor de-aktiviert", u"Durch AT-Steuerung ist Motor de-aktiviert"},
    {u"Wegen Regen ist Motor de-aktiviert", nullptr},
    {u"Wegen Wind ist Motor de-aktiviert", nullptr},
    {u"Start der Proportionalen IT-Regelung", nullptr},
    {u"Ende der Proportionalen IT-Regelung", nullptr},
    {u"Proportionale IT-Regelung erreicht Max-Wert", nullptr},
    {u"Re-Kallibrierung der Proportionalen IT-Regelung", nullptr},
    {u"Umstellung MEZ -> MESZ, Astro-Zeiten angepasst", nullptr},
    {u"Umstellung MESZ -> MEZ, Astro-Zeiten angepasst", nullptr},
    {u"Alarm bzw. Zentralschalter aufgehoben", nullptr},
    {u"Tast-Automatik ausgelöst", nullptr},
    {u"Gruppen-Zentralsteuerung ausgelöst", nullptr},
    {u"Luftfeuchtigkeits-Steuerung", nullptr},
    {u"Heizungs-Steuerung", nullptr},
};
constexpr int kHighestCause = int(std::size(kCauseTexts));

QString textOf(const CauseText &t, LogbookColumn column)
{
    const char16_t *text = column == LogbookColumn::Export && t.exported ? t.exported : t.display;
    return QString::fromUtf16(text);
}

// System events with no motor of their own: the list leaves name and direction blank.
bool displayHasNoMotor(int32_t cause)
{
    return cause == 8 || cause == 9 || cause == 18 || cause == 19 || cause == 20;
}
bool displayHasNoDirection(int32_t cause) { return cause == 5 || displayHasNoMotor(cause); }
bool exportHasNoMotor(int32_t cause) { return cause == 8 || cause == 9; }

// Leading "0" below 10, as the controller's date and time read.
QString twoDigits(int32_t value)
{
    return value < 10 ? QLatin1Char('0') + QString::number(value) : QString::number(value);
}

QString fitted(const QString &text, int width)
{
    return text.leftJustified(width, QLatin1Char(' '), /*truncate=*/true);
}

const QString kBlankName = QString(12, QLatin1Char(' '));

} // namespace

QString logbookCauseText(int32_t cause, int32_t subCode, LogbookColumn column)
{
    if (cause == 0) {
        if (subCode >= 0 && subCode < int32_t(std::size(kSwitchingTimeTexts)))
            return textOf(kSwitchingTimeTexts[subCode], column);
        return QStringLiteral("Unbekannte Ursache 0/%1").arg(subCode);
    }
    if (cause >= 1 && cause <= kHighestCause)
        return textOf(kCauseTexts[cause - 1], column);
    return QStringLiteral("Unbekannte Ursache %1").arg(cause);
}

QString logbookMotorName(const std::array<QString, kMotors> &names, int32_t motor)
{
    if (motor >= 1 && motor <= kMotors)
        return blankControlCharacters(names[motor - 1]);
    return QString::number(motor);
}

LogbookPlacement logbookPlacement(int32_t entryNumber, bool endMarker)
{
    // Floor modulo: numbers below 1 still land on the page.
    int line = int((int64_t(entryNumber) - 1) % kLogbookPageEntries);
    if (line < 0)
        line += kLogbookPageEntries;
    // The marker behind a full page goes below it instead of wiping it.
    if (endMarker && line == 0 && entryNumber > 1)
        return {kLogbookPageEntries, false};
    return {line, line == 0};
}

QString logbookDisplayLine(const LogbookEntry &e, int32_t shownNumber, const QString &motorName)
{
    if (e.hasNoDate())
        return kLogbookEmptyText;
    QString line;
    if (shownNumber < 10)
        line = QStringLiteral("    ");
    else if (shownNumber < 100)
        line = QStringLiteral("   ");
    else if (shownNumber < 1000)
        line = QStringLiteral("  ");
    line += QString::number(shownNumber) + QStringLiteral("  ");
    line += (displayHasNoMotor(e.cause) ? kBlankName : fitted(motorName, 12)) + QLatin1Char(' ');
    line += twoDigits(e.day) + QLatin1Char('.') + twoDigits(e.month) + QStringLiteral(".   ");
    line += twoDigits(e.hour) + QLatin1Char(':') + twoDigits(e.minute) + QStringLiteral("    ");
    if (displayHasNoDirection(e.cause))
        line += QStringLiteral("      ");
    else
        line += e.direction != 0 ? QStringLiteral("^     ") : QStringLiteral("v     ");
    line += logbookCauseText(e.cause, e.subCode, LogbookColumn::Display);
    return line;
}

QString logbookExportLine(const LogbookEntry &e, int32_t shownNumber, const QString &motorName)
{
    const QChar sep = QLatin1Char(';');
    const bool noMotor = exportHasNoMotor(e.cause);
    QString line = QString::number(shownNumber) + sep;
    line += (noMotor ? kBlankName : motorName) + sep;
    line += twoDigits(e.day) + QLatin1Char('.') + twoDigits(e.month) + QStringLiteral(".;");
    line += twoDigits(e.hour) + QLatin1Char(':') + twoDigits(e.minute) + sep;
    line += (noMotor ? QStringLiteral(" ") : e.direction != 0 ? QStringLiteral("^") : QStringLiteral("v"));
    line += sep;
    line += e.hasNoDate() ? kLogbookEmptyText : logbookCauseText(e.cause, e.subCode, LogbookColumn::Export);
    return line;
}

QByteArray logbookFileLine(const QString &line)
{
    QByteArray out;
    appendLine(out, blankControlCharacters(line));
    return out;
}

} // namespace vandorelle
