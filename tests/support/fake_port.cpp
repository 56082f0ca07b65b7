#include "support/fake_port.h"

namespace vandorelle::test {

bool FakePort::QueueText(const QByteArray &bytes)
{
    if (!open || refuseWrites)
        return false;
    writes.append(bytes);
    return true;
}

QByteArray FakePort::joined() const
{
    QByteArray all;
    for (const QByteArray &w : writes)
        all += w;
    return all;
}

QStringList FakePort::texts() const
{
    QStringList out;
    for (const QByteArray &w : writes)
        out << QString::fromLatin1(w);
    return out;
}

int FakePort::count(const QByteArray &text) const
{
    return int(writes.count(text));
}

} // namespace vandorelle::test
