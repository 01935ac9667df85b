#pragma once

#include "gameports.h"

#include <QList>
#include <QObject>

class QTcpServer;
class QTcpSocket;

// Accepts the companion connection that a game started with a name opens to the
// lobby on 127.0.0.1. Nothing is ever sent on it; whatever arrives is read and
// dropped. The connection lasts as long as the game, so its end tells the lobby the
// game has ended.
class CompanionListener : public QObject
{
    Q_OBJECT

public:
    static constexpr quint16 defaultPort = GamePorts::companion;
    // Connections held at once; more are closed at once.
    static constexpr int maxConnections = 4;

    explicit CompanionListener(QObject *parent = nullptr);

    // Listens on 127.0.0.1 (port 0: any free port). False when the port is taken.
    bool listen(quint16 port = defaultPort);
    quint16 port() const;
    QString errorString() const;
    int connections() const { return int(sockets_.size()); }

Q_SIGNALS:
    void gameConnected();
    // Every companion connection has closed.
    void allClosed();

private:
    void accept();

    QTcpServer *server_;
    QList<QTcpSocket *> sockets_;
};
