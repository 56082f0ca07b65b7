#pragma once

#include "protocol/session.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace vandorelle::test {

inline QByteArray frame(const char *tag, const QByteArray &payload)
{
    return QByteArray("start_") + tag + payload + "ende_";
}

// A session on its own store and status bar, recording what it announces.
struct ReceiveFixture {
    ConfigStore store;
    StatusModel status;
    Session session{store, status};
    QList<QPair<QString, QString>> handled;
    QList<FollowUp> followUps;
    QStringList progressLines;
    QList<QPair<int, QString>> panelHistory;

    ReceiveFixture()
    {
        QObject::connect(&session, &Session::frameHandled, [this](const QString &t, const QString &p) {
            handled.append({t, p});
        });
        QObject::connect(&session, &Session::followUp, [this](FollowUp f) { followUps.append(f); });
        QObject::connect(&session, &Session::readProgressLine, [this](const QString &l) { progressLines << l; });
        QObject::connect(&status, &StatusModel::panelChanged, [this](int i, const QString &t) {
            panelHistory.append({i, t});
        });
    }

    void feed(const QByteArray &bytes) { session.receive(bytes, int(bytes.size())); }
    void feed(const char *tag, const QByteArray &payload) { feed(frame(tag, payload)); }
    QString panel(int i) const { return status.panel(i); }
};

} // namespace vandorelle::test
