#include "protocol/silence_watch.h"

#include "protocol/session.h"

#include <limits>

namespace vandorelle {

namespace {
// How often a watch whose time is up looks again while our own bytes are still going out.
constexpr int kOutputRecheckMs = 50;
} // namespace

QString gaveUpText(SilenceWatch::Reason reason, const QString &exchange)
{
    const QString why = reason == SilenceWatch::Reason::LineLost
        ? QStringLiteral("Die Verbindung zur Steuerung ist unterbrochen: das Gerät ist nicht mehr vorhanden.")
        : QStringLiteral("Die Steuerung hat nicht mehr geantwortet.");
    return why + QStringLiteral(" %1 wurde abgebrochen.").arg(exchange);
}

SilenceWatch::SilenceWatch(Session &session, int intervalMs, QObject *parent)
    : QObject(parent), m_session(session), m_interval(intervalMs)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &SilenceWatch::check);
    connect(&m_session, &Session::lineLost, this, [this] {
        if (m_armed)
            expire(Reason::LineLost);
    });
}

void SilenceWatch::start()
{
    m_armed = true;
    m_sinceProgress.start();
    m_sinceOutputSeen.invalidate();
    m_timer.start(m_interval);
}

void SilenceWatch::progress()
{
    // The timer is not restarted per frame: when it fires, it measures again.
    if (m_armed)
        m_sinceProgress.start();
}

void SilenceWatch::stop()
{
    m_armed = false;
    m_timer.stop();
}

void SilenceWatch::check()
{
    if (!m_armed)
        return;
    const Port *port = m_session.port();
    const qint64 sinceDrained = port ? port->msSinceOutputDrained() : std::numeric_limits<qint64>::max();
    if (sinceDrained == 0) {
        m_sinceOutputSeen.start();
        m_timer.start(kOutputRecheckMs);
        return;
    }
    qint64 quiet = qMin(m_sinceProgress.elapsed(), sinceDrained);
    if (m_sinceOutputSeen.isValid())
        quiet = qMin(quiet, m_sinceOutputSeen.elapsed());
    const qint64 left = m_interval - quiet;
    if (left > 0) {
        m_timer.start(int(left));
        return;
    }
    expire(Reason::Silence);
}

void SilenceWatch::expire(Reason reason)
{
    stop();
    emit expired(reason);
}

} // namespace vandorelle
