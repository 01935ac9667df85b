#pragma once

#include "esockexception.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

class QTcpServer;
class QTcpSocket;

// Keepalive probes and a bound on unacknowledged data, for a game connection: a
// network that goes away without a word (a lid closed, a Wi-Fi hand-over, a router
// restarting) ends the connection within seconds rather than the system's quarter of
// an hour. Only this side's transport changes; the peer sees nothing new.
struct TcpKeepAlive
{
    int idleSeconds = 5; // quiet time before the first probe
    int intervalSeconds = 2; // between unanswered probes
    int probes = 3; // unanswered probes that end the connection
    int userTimeoutMs = 15000; // sent data left unacknowledged this long ends it
};

// Kinds of the notices a socket reports through OnInfo.
enum class TSocketInfo { siLookup, siConnect, siClose, siListen, siReceive, siSend, siAccept, siError };

// One non-blocking TCP stream socket: a listener (`Sock1` on the host), a
// connection a listener accepted (one per player slot), or a client connection
// (`sock` and `Sock11` of the player's window). All events arrive through the GUI
// thread's event loop, one at a time.
//
// Client:   setHostName("127.0.0.1"); setPortName("7772"); Open();
//           -> OnConnect, then OnRead / OnWrite; Send(); Receive(); Close().
// Listener: setPortName("7772"); setListen(true); on OnAccept call Accept(), which
//           returns a new connected TSock.
// The peer closing the connection, or resetting it, or the connection failing once
// it was up, reports OnDisconnect and then the Close notice "Socket Closed".
// Close() reports "Socket Closed" once, only for a socket that was open.
//
// Operations that cannot work throw ESockException with texts such as "Send -
// Socket Not Connected" or "Listen - Error Binding Socket". Callers inside event
// handlers catch it (or check connected() first): a peer may close at any moment.
//
// Never delete a TSock inside one of its own event handlers; use deleteLater().
class TSock : public QObject
{
    Q_OBJECT

public:
    explicit TSock(QObject *parent = nullptr);
    ~TSock() override;

    QString HostName() const { return hostName_; }
    // A dotted address, a host name (resolved when opening), or empty for this machine.
    void setHostName(const QString &name);
    QString PortName() const { return portName_; }
    // A port number, or a TCP service name from the system's services list.
    void setPortName(const QString &name);
    int Tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    // The address a listener binds to; any local address unless set (tests bind the
    // loopback address).
    void setBindAddress(const QHostAddress &address) { bindAddress_ = address; }

    bool Listen() const;
    // true: binds the port on the bind address with a backlog of 5 and reports
    // "Listening Started" ("Listening Already Running" when it listens already);
    // throws "Listen - Error Binding Socket" when the port is taken. false: closes
    // the listener and reports "Listening Stopped".
    void setListen(bool on);
    // The port a listener listens on or a connection's local port (0 when closed):
    // tells the real port when PortName is "0".
    quint16 localPort() const;

    // Applies to the connection now (when up) and to every later one of this socket.
    void setKeepAlive(const TcpKeepAlive &keepAlive);

    bool connected() const { return connected_; }
    QString peerAddress() const;

    // Starts a non-blocking connect and returns at once; OnConnect reports success,
    // an Error notice failure.
    void Open();
    // Takes one waiting connection as a new connected TSock (its parent is `parent`);
    // nullptr, with "Could Not Accept Connection", when none can be taken.
    TSock *Accept(QObject *parent = nullptr);
    // Queues the bytes and hands the system as much as it takes at once; the rest
    // goes out as the peer reads.
    void Send(QByteArrayView bytes);
    // Everything received and not yet fetched; empties the input buffer.
    QByteArray Receive();
    // Closes the connection or the listener. Bytes the system has taken are still
    // delivered. False when there was nothing to close.
    bool Close();
    // Bytes queued by Send that the system has not taken yet.
    qint64 pendingOutput() const;

    // "Error #" code " (" name ")", the code's Windows Sockets constant name or
    // "UNKNOWN ERROR".
    static QString errorText(int code);

Q_SIGNALS:
    void OnAccept(TSock *sender);
    // At most 32,768 bytes arrive per notification; `count` is the input buffer's
    // length after the arrival.
    void OnRead(TSock *sender, qint64 count);
    void OnDisconnect(TSock *sender);
    void OnConnect(TSock *sender);
    void OnWrite(TSock *sender);
    void OnInfo(TSock *sender, TSocketInfo kind, const QString &text);

private:
    void adopt(QTcpSocket *socket);
    void applyKeepAlive();
    void dropSocket(bool graceful);
    void info(TSocketInfo kind, const QString &text);
    quint16 resolvePort();
    void readyRead();
    void peerClosed();
    void socketError(int qtError);

    QString hostName_;
    QString portName_;
    int tag_ = 0;
    QHostAddress bindAddress_ = QHostAddress::Any;
    QTcpServer *server_ = nullptr;
    QTcpSocket *socket_ = nullptr;
    QByteArray input_;
    bool connected_ = false;
    std::optional<TcpKeepAlive> keepAlive_;
};
