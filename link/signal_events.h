#pragma once

#include <QObject>

#include <initializer_list>
#include <vector>

class QSocketNotifier;

namespace vandorelle {

// Unix signals as events of the event loop: the handler only writes the signal's number into
// a pipe that a socket notifier reads, so whatever a signal should do runs in the loop, where
// it may close ports and write files. One instance per process.
class SignalEvents : public QObject {
    Q_OBJECT
public:
    explicit SignalEvents(QObject *parent = nullptr);
    ~SignalEvents() override; // the signals get their default handling back

    // False when the pipe or a handler could not be set up; those signals keep their default.
    bool install(std::initializer_list<int> signos);

signals:
    void received(int signo);

private:
    void readSignals();

    QSocketNotifier *m_notifier = nullptr;
    std::vector<int> m_handled;
};

} // namespace vandorelle
