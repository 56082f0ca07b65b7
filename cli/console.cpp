#include "cli/console.h"

#include <cstdio>
#include <unistd.h>

namespace vandorelle::cli {

Console::Console(bool quiet) : m_progress(!quiet && ::isatty(STDERR_FILENO) == 1) {}

Console::~Console() { endProgress(); }

void Console::out(const QString &line)
{
    const QByteArray bytes = line.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

void Console::error(const QString &message)
{
    endProgress();
    // One line, whatever the message holds: scripts read stderr line by line.
    QString text = message;
    text.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(u'\n', u' ').replace(u'\r', u' ');
    const QByteArray bytes = "vandorelle-cli: " + text.simplified().toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

void Console::progress(const QString &text)
{
    if (!m_progress || (m_progressShown && text == m_lastProgress))
        return;
    m_lastProgress = text;
    const QByteArray bytes = "\r\033[K" + text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
    m_progressShown = true;
}

void Console::endProgress()
{
    if (!m_progressShown)
        return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    m_progressShown = false;
}

} // namespace vandorelle::cli
