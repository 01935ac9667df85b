#pragma once

#include "companionwire.h"
#include "gameports.h"

#include <QHash>
#include <QList>
#include <QObject>

class QTcpServer;
class QTcpSocket;

// Accepts the companion connection that a game started with a name opens to the
// lobby on 127.0.0.1. The connection lasts as long as the game, so its end tells the
// lobby the game has ended; right before it ends, the game says why in one line
// (CompanionWire). Nothing is ever sent to the game; what arrives is read through a
// bounded reader and kept only as the endings it names.
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
    // A game said why it has ended (and, for a lost game, how long its seat is kept).
    void endingHeard(const CompanionWire::Message &message);
    // Every companion connection has closed.
    void allClosed();

private:
    void accept();
    void read(QTcpSocket *socket);

    QTcpServer *server_;
    QList<QTcpSocket *> sockets_;
    QHash<QTcpSocket *, CompanionWire::Reader> readers_;
};
