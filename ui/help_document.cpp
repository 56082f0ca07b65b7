#include "ui/help_document.h"

#include "config/text_codec.h"

#include <QHash>

#include <cctype>

namespace vandorelle::help {

namespace {

const QRect kSide(352, 0, 441, 505);

} // namespace

const std::vector<Topic> &topics()
{
    static const std::vector<Topic> t{
        {"Help_FS", QStringLiteral("[Programmierung fester Schaltzeiten]"), kSide},
        {"Help_BA", QStringLiteral("[Beschattungs-Automatik]"), kSide},
        {"Help_DM", QStringLiteral("[Dämmerungsautomatik Morgen]"), kSide},
        {"Help_DA", QStringLiteral("[Dämmerungsautomatik Abend]"), kSide},
        {"Help_EW", QStringLiteral("[Einfahren bei Wind]"), kSide},
        {"Help_ER", QStringLiteral("[Einfahren bei Regen]"), kSide},
        {"Help_Feuchte", QStringLiteral("[Luftfeuchtigkeits-Steuerung]"), kSide},
        {"Help_PT", QStringLiteral("[Proportionale Temperatursteuerung]"), kSide},
        {"Help_IT", QStringLiteral("[Innen-Temperatursteuerung]"), kSide},
        {"Help_AT", QStringLiteral("[Außen-Temperatursteuerung]"), kSide},
        {"Help_Heiz", QStringLiteral("[Heizungs-Steuerung]"), kSide},
        {"Help_HandStrg", QStringLiteral("[Hand-Steuerung]"), QRect(20, 220, 760, 285)},
        {"Help_TA", QStringLiteral("[Tast-Automatik]"), kSide},
        {"Help_Reversier", QStringLiteral("[Reversier-Automatik]"), kSide},
        {"Help_Logbuch", QStringLiteral("[Logbuch]"), QRect(352, 0, 441, 480)},
        {"Help_SchZeitCopy", QStringLiteral("[Schaltzeiten kopieren]"), QRect(260, 220, 490, 240)},
        {"Help_Alarm", QStringLiteral("[Alarm Setup]"), QRect(20, 182, 760, 333)},
        {"Help_ZufallSpanne", QStringLiteral("[Zufalls-Steuerung]"), QRect(352, 190, 441, 90)},
        {"Help_SensorTypen", QStringLiteral("[Sensor-Typen]"), QRect(352, 190, 441, 270)},
        {"Help_Wintergarten", QStringLiteral("[Wintergarten-Steuerungen]"), kSide},
        {"Help_GZS", QStringLiteral("[Gruppen-Zentralsteuerung]"), QRect(10, 6, 770, 330)},
        {"Help_Port", QStringLiteral("[Port-Auswahl]"), QRect(260, 220, 490, 240)},
        {"Help_Datenaustausch", QStringLiteral("[Datenaustausch]"), QRect(355, 160, 440, 310)},
        {"Help_Sicherung", QStringLiteral("[Sicherung auf Datenträger]"), QRect(355, 160, 400, 140)},
    };
    return t;
}

const Topic *topicOfButton(const QString &buttonName)
{
    for (const Topic &t : topics()) {
        if (buttonName == QLatin1String(t.button))
            return &t;
    }
    return nullptr;
}

QString documentText(const QByteArray &bytes)
{
    if (bytes.startsWith("{\\rtf"))
        return rtfToPlainText(bytes);
    QString text = fromWindows1252(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

namespace {

// Groups whose text is not part of what a reader sees.
bool isHiddenDestination(const QByteArray &word)
{
    static const QByteArrayList hidden{
        "fonttbl", "colortbl", "stylesheet", "info", "pict", "object", "header", "footer",
        "headerl", "headerr", "footerl", "footerr", "listtable", "listoverridetable", "rsidtbl",
        "generator", "xmlnstbl", "themedata", "colorschememapping", "latentstyles", "datastore",
        "fldinst", "filetbl", "revtbl", "pgdsctbl", "bkmkstart", "bkmkend"};
    return hidden.contains(word);
}

QString symbolOf(const QByteArray &word)
{
    static const QHash<QByteArray, QString> symbols{
        {"par", QStringLiteral("\n")},       {"line", QStringLiteral("\n")},
        {"sect", QStringLiteral("\n")},      {"page", QStringLiteral("\n")},
        {"tab", QStringLiteral("\t")},       {"emdash", QStringLiteral("\u2014")},
        {"endash", QStringLiteral("\u2013")}, {"bullet", QStringLiteral("\u2022")},
        {"lquote", QStringLiteral("\u2018")}, {"rquote", QStringLiteral("\u2019")},
        {"ldblquote", QStringLiteral("\u201c")}, {"rdblquote", QStringLiteral("\u201d")},
    };
    return symbols.value(word);
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = char(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

struct GroupState {
    bool hidden = false;
    int unicodeSkip = 1; // characters that stand in for a \u character
};

} // namespace

QString rtfToPlainText(const QByteArray &rtf)
{
    QString out;
    QList<GroupState> stack{GroupState{}};
    int pendingSkip = 0; // fallback characters still to drop after a \u
    const qsizetype n = rtf.size();

    auto put = [&](const QString &text) {
        if (pendingSkip > 0) {
            --pendingSkip;
            return;
        }
        if (!stack.last().hidden)
            out += text;
    };

    for (qsizetype i = 0; i < n; ++i) {
        const char c = rtf.at(i);
        if (c == '{') {
            stack.append(stack.last());
            pendingSkip = 0;
            continue;
        }
        if (c == '}') {
            if (stack.size() > 1)
                stack.removeLast();
            pendingSkip = 0;
            continue;
        }
        if (c == '\r' || c == '\n')
            continue;
        if (c != '\\') {
            put(fromWindows1252(QByteArray(1, c)));
            continue;
        }
        if (++i >= n)
            break;
        const char d = rtf.at(i);
        if (std::isalpha(static_cast<unsigned char>(d))) {
            qsizetype start = i;
            while (i < n && std::isalpha(static_cast<unsigned char>(rtf.at(i))))
                ++i;
            const QByteArray word = rtf.mid(start, i - start);
            bool hasParam = false;
            int param = 0;
            const qsizetype paramStart = i;
            if (i < n && (rtf.at(i) == '-' || std::isdigit(static_cast<unsigned char>(rtf.at(i))))) {
                ++i;
                while (i < n && std::isdigit(static_cast<unsigned char>(rtf.at(i))))
                    ++i;
                param = rtf.mid(paramStart, i - paramStart).toInt(&hasParam);
            }
            // One blank ends a control word and belongs to it.
            if (i >= n || rtf.at(i) != ' ')
                --i;
            if (isHiddenDestination(word)) {
                stack.last().hidden = true;
            } else if (word == "uc" && hasParam) {
                stack.last().unicodeSkip = qMax(0, param);
            } else if (word == "u" && hasParam) {
                const char16_t code = char16_t(param < 0 ? param + 65536 : param);
                pendingSkip = 0;
                put(QString(QChar(code)));
                pendingSkip = stack.last().unicodeSkip;
            } else if (const QString s = symbolOf(word); !s.isEmpty()) {
                put(s);
            }
            continue;
        }
        switch (d) {
        case '*': stack.last().hidden = true; break;
        case '\'': {
            const int hi = i + 1 < n ? hexValue(rtf.at(i + 1)) : -1;
            const int lo = i + 2 < n ? hexValue(rtf.at(i + 2)) : -1;
            if (hi >= 0 && lo >= 0) {
                put(fromWindows1252(QByteArray(1, char(hi * 16 + lo))));
                i += 2;
            }
            break;
        }
        case '\r':
        case '\n': put(QStringLiteral("\n")); break;
        case '~': put(QStringLiteral("\u00a0")); break;
        case '_': put(QStringLiteral("-")); break;
        case '-': break; // optional hyphen
        default: put(QString(QChar::fromLatin1(d))); break; // \{ \} \\ and the like
        }
    }
    return out;
}

} // namespace vandorelle::help
