#pragma once

#include "gameports.h"
#include "inputbuffer.h"
#include "tsock.h"

#include <QObject>
#include <QTimer>

// The player's window's connections: `sock` to the game host and the companion
// connection `Sock11` to the lobby on this machine, which hears one line at the end
// of the game (CompanionWire) and is never read.
//
// Bytes from the host are framed into the queue `receivedlist`; the dispatch timer
// `Timer1` hands out one message per tick through messageReceived(), and runs only
// while messages wait, so an idle game costs no CPU. A host that overruns the
// queue's bounds is disconnected.
//
// When the connection closes, closed() is emitted once the messages that arrived
// before the close have been handed out ("CMD_full" comes right before one). The
// connection can be made again to the same host (reopen()), and each one that closes
// reports its close once.
class HostConnection : public QObject
{
    Q_OBJECT

public:
    static constexpr int dispatchIntervalMs = 1;

    explicit HostConnection(QObject *parent = nullptr);
    ~HostConnection() override;

    // The host's port (the game port unless set; tests use other ports).
    void setPort(quint16 port) { port_ = port; }
    quint16 port() const { return port_; }
    void setCompanionPort(quint16 port) { companionPort_ = port; }
    void setInputLimits(const InputBuffer::Limits &limits);

    // Starts connecting `sock` to the host at `hostaddress`. An address that cannot
    // be used is given up quietly: the window stays as it is, unconnected.
    void open(const QString &hostaddress);
    // Starts connecting `Sock11` to 127.0.0.1; a failure is ignored.
    void openCompanion();
    // The host to connect to, without connecting (open() sets it too).
    void setAddress(const QString &hostaddress);
    // Starts a new connection to the same host, dropping the old one and everything
    // it left unread.
    void reopen();
    // Drops the connection without a close report.
    void abort();
    // Ends a connection that seems dead as failed: its close is reported.
    void fail();

    // Sends one complete message (terminator included). False, sending nothing, while
    // the connection is not up.
    bool send(const QByteArray &message);

    bool isConnected() const;
    // Whether the connection to the host failed rather than being closed by the host:
    // an error while it was up, or a host that overran the queue.
    bool failed() const { return failed_; }
    // The host sent more than the queue takes: it was disconnected for it.
    bool overflowed() const { return overflowed_; }
    // Hands a line to the lobby on the companion connection, when that is up.
    void tellCompanion(const QByteArray &line);
    TSock *sock() const { return sock_; }
    TSock *companion() const { return Sock11; }
    qsizetype queued() const { return receivedlist.queuedMessages(); }
    bool isDispatching() const { return Timer1.isActive(); }

Q_SIGNALS:
    // One message from the host, without its terminator.
    void messageReceived(const QByteArray &message);
    // The connection to the host has closed ("Socket Closed").
    void closed();
    // A connection to the host is up.
    void opened();
    // A connection could not be made (refused, unreachable, no such host).
    void openFailed();

private:
    void sockRead(TSock *sender);
    void sockInfo(TSock *sender, TSocketInfo kind, const QString &text);
    void Timer1Timer();
    void reportClosedWhenDrained();

    TSock *sock_ = nullptr;
    TSock *Sock11 = nullptr;
    InputBuffer receivedlist;
    QTimer Timer1;
    quint16 port_ = GamePorts::game;
    quint16 companionPort_ = GamePorts::companion;
    bool closePending_ = false;
    bool failed_ = false;
    bool closeReported_ = false;
    bool overflowed_ = false;
};
