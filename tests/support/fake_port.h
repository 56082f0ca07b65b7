#pragma once

#include "protocol/port.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <limits>
#include <utility>

namespace vandorelle::test {

// A port that keeps every QueueText call, in order, for tests to inspect.
class FakePort : public Port {
public:
    QList<QByteArray> writes;
    bool open = true;
    bool refuseWrites = false; // QueueText returns false although the port is open
    QByteArray incoming;       // what ReadAvailable hands out next
    bool pendingOutput = false;

    bool QueueText(const QByteArray &bytes) override;
    bool isOpen() const override { return open; }
    QByteArray ReadAvailable() override { return std::exchange(incoming, {}); }
    qint64 msSinceOutputDrained() const override
    {
        return pendingOutput ? 0 : std::numeric_limits<qint64>::max();
    }

    // All writes concatenated.
    QByteArray joined() const;
    // The writes as Latin-1 texts (readable in assertions).
    QStringList texts() const;
    // How many writes equal text exactly.
    int count(const QByteArray &text) const;
    void clear() { writes.clear(); }
};

} // namespace vandorelle::test
