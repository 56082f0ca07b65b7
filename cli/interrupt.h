#pragma once

#include "link/signal_events.h"

#include <QObject>

namespace vandorelle::cli {

// Ctrl-C and SIGTERM end a wait instead of the process, so that the port is closed and no
// half-written file is left behind.
class InterruptWatch : public QObject {
    Q_OBJECT
public:
    explicit InterruptWatch(QObject *parent = nullptr);

    // False when the handlers could not be installed; the signals then keep their default.
    bool install();
    bool raised() const { return m_raised; }

signals:
    void interrupted();

private:
    SignalEvents m_signals;
    bool m_raised = false;
};

} // namespace vandorelle::cli
