#pragma once

#include <QObject>

class QSocketNotifier;

namespace vandorelle::bridge {

// SIGTERM, SIGINT and SIGHUP (end), SIGUSR1 (release the port), SIGUSR2 (take it back), as
// events of the event loop: the handlers only write the signal's number into a pipe.
class UnixSignals : public QObject {
    Q_OBJECT
public:
    explicit UnixSignals(QObject *parent = nullptr);
    ~UnixSignals() override;
    bool installed() const { return m_notifier != nullptr; }

signals:
    void terminate(const QString &name);
    void release();
    void takeBack();

private:
    void readSignals();
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace vandorelle::bridge
