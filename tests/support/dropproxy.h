#pragma once

#include <QList>
#include <QObject>
#include <QTcpServer>

#include <memory>

class QTcpSocket;

// A TCP relay on the loopback address that a test can break, for connections that
// drop: every connection made to it is relayed to the target port as it is, until the
// test cuts them all (both ends reset, as a dead network leaves them) or pauses it (the
// connections are cut and new ones refused, as when the network is gone) and resumes
// it on the same port.
class DropProxy : public QObject
{
    Q_OBJECT

public:
    explicit DropProxy(QObject *parent = nullptr);
    ~DropProxy() override;

    // Listens on a free loopback port and relays to `targetPort` there.
    bool start(quint16 targetPort);
    quint16 port() const { return port_; }

    // Ends every relayed connection at once, with a reset at both ends.
    void cut();
    // Cuts, and refuses connections until resume().
    void pause();
    // Cuts, and leaves new connections unanswered until resume(): their SYNs are
    // dropped, as by a network that is still away.
    bool dropNewConnections();
    // Stops relaying with every connection left open, old and new, until resume(),
    // which then cuts them: a network gone without a word. The relay's own system
    // still acknowledges whatever arrives, so only the peers' own messages can tell.
    void blackhole();
    bool resume();
    bool isPaused() const { return !server_.isListening(); }
    int connections() const { return int(pairs_.size()); }

Q_SIGNALS:
    void connectionsChanged();

private:
    struct Pair;
    void accept();
    void drop(Pair *pair);

    QTcpServer server_;
    quint16 port_ = 0;
    quint16 target_ = 0;
    QList<Pair *> pairs_;
    bool blackholed_ = false;
    QList<QTcpSocket *> held_; // connections made during a blackhole
    int silentListener_ = -1; // a full listening queue that drops SYNs
    QTcpSocket *filler_ = nullptr;
};
