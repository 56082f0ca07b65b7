#include "bridge/log.h"

#include <QStringList>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

namespace vandorelle::bridge {

namespace {

std::atomic<bool> g_verbose{false};

// systemd names the stream it connected to stderr in JOURNAL_STREAM ("device:inode").
bool stderrIsJournal()
{
    const char *stream = std::getenv("JOURNAL_STREAM");
    if (!stream)
        return false;
    struct stat st {};
    if (::fstat(2, &st) != 0)
        return false;
    unsigned long long device = 0, inode = 0;
    if (std::sscanf(stream, "%llu:%llu", &device, &inode) != 2)
        return false;
    return device == st.st_dev && inode == st.st_ino;
}

QString prefixFor(LogLevel level)
{
    static const bool journal = stderrIsJournal();
    if (journal)
        return QStringLiteral("<%1>").arg(int(level));
    switch (level) {
    case LogLevel::Error: return QStringLiteral("vandorelle-bridge: error: ");
    case LogLevel::Warning: return QStringLiteral("vandorelle-bridge: warning: ");
    default: return QStringLiteral("vandorelle-bridge: ");
    }
}

} // namespace

void setVerboseLog(bool on) { g_verbose = on; }

void logLine(LogLevel level, const QString &text)
{
    if (level == LogLevel::Debug && !g_verbose)
        return;
    const QString prefix = prefixFor(level);
    QByteArray out;
    for (const QString &line : text.split(u'\n'))
        out += (prefix + line).toUtf8() + '\n';
    // One write per event: lines of two threads never mix.
    std::fwrite(out.constData(), 1, size_t(out.size()), stderr);
    std::fflush(stderr);
}

QString quotedBytes(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'"' || c == u'\\')
            out += u'\\' + QString(c);
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out + u'"';
}

QString quotedPayload(const QByteArray &payload)
{
    constexpr int kShownMax = 40;
    const QString text = quotedBytes(QString::fromUtf8(payload.left(kShownMax)));
    return payload.size() > kShownMax ? text + QStringLiteral("...") : text;
}

} // namespace vandorelle::bridge
