#include "cli/interrupt.h"

#include <csignal>

namespace vandorelle::cli {

InterruptWatch::InterruptWatch(QObject *parent) : QObject(parent)
{
    connect(&m_signals, &SignalEvents::received, this, [this] {
        m_raised = true;
        emit interrupted();
    });
}

bool InterruptWatch::install() { return m_signals.install({SIGINT, SIGTERM}); }

} // namespace vandorelle::cli
