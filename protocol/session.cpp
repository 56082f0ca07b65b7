#include "protocol/session.h"

namespace vandorelle {

Session::Session(ConfigStore &s, StatusModel &st, QObject *parent)
    : QObject(parent), store(s), status(st)
{
}

bool Session::send(const QString &text)
{
    if (!m_port || !m_port->isOpen())
        return false;
    return m_port->QueueText(text.toLatin1());
}

void Session::addTx(int characters)
{
    TxCount += characters;
    status.setPanel(StatusModel::Transmitted, QStringLiteral("T %1").arg(TxCount));
}

void Session::receive(const QByteArray &bytes, int count)
{
    ReceiveBuffer.append(bytes);
    RxCount += count;
    status.setPanel(StatusModel::Received, QStringLiteral("R %1").arg(RxCount));
}

} // namespace vandorelle
