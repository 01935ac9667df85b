#pragma once

#include "wire.h"

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTcpSocket>

// A player's connection reduced to bytes, for protocol tests: it sends exactly
// the bytes it is given and records every message it receives, cut at 0xFF, without
// the terminator. Waiting helpers spin the event loop with a timeout and never sleep.
class ProtocolClient : public QObject
{
    Q_OBJECT

public:
    explicit ProtocolClient(QObject *parent = nullptr);

    // Where connectTo() and join() connect: the loopback address unless set.
    void setHost(const QHostAddress &host) { host_ = host; }
    // Connects to the host's port; true once connected.
    bool connectTo(quint16 port, int timeoutMs = 5000);
    // Connects and logs in: waits for CMD_sendlogininfo, answers with the name and
    // version, and waits for its own CMD_newplayerinfo. Returns the slot, 0 on failure.
    int join(quint16 port, const QByteArray &name, const QByteArray &version = "1.0.7");

    // Three tiles side by side on the board a CMD_loadboard message deals, in the host's
    // order; none when it has no such three.
    static QList<Wire::Tile> threeInARow(const QByteArray &loadboard);

    // Sends the bytes as they are (builders add the terminator).
    void sendRaw(const QByteArray &bytes);
    // Sends a message and its terminator.
    void send(const QByteArray &message);

    // Every message received so far.
    const QList<QByteArray> &messages() const { return messages_; }
    // Messages not yet taken by next() or waitFor().
    qsizetype unread() const { return messages_.size() - cursor_; }
    // The next unread message, waiting for it; empty on timeout.
    QByteArray next(int timeoutMs = 5000);
    // The next unread message that starts with `command` followed by "+", skipping
    // (and consuming) the ones before it; empty on timeout.
    QByteArray waitFor(const QByteArray &command, int timeoutMs = 5000);
    // True when no message arrives within the time (for "nothing is sent" checks,
    // after a later message has shown that the host moved on; keep it short).
    bool staysQuiet(int ms);
    // Forgets the unread messages.
    void skipAll() { cursor_ = messages_.size(); }

    bool isConnected() const { return socket_.state() == QAbstractSocket::ConnectedState; }
    bool waitForClosed(int timeoutMs = 5000);
    void close() { socket_.close(); }
    // Ends the connection with a TCP reset instead of a close.
    void reset();
    // Stops reading: what the host sends then piles up in the system and at the host.
    void stopReading();
    QTcpSocket &socket() { return socket_; }
    int slot() const { return slot_; }

Q_SIGNALS:
    void messageArrived();

private:
    void readSome();

    QTcpSocket socket_;
    QHostAddress host_ = QHostAddress(QHostAddress::LocalHost);
    QByteArray partial_;
    QList<QByteArray> messages_;
    qsizetype cursor_ = 0;
    int slot_ = 0;
    bool reading_ = true;
};
