#pragma once

#include "iceagent.h"
#include "tunnelcodec.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QTcpSocket;

// Joins a connected ICE stream to a TCP connection on this computer, both ways, so
// that the game on each side sees an ordinary connection: on the host's side one more
// player connecting to the game's port, on the joiner's the host at a local address.
// The game's bytes cross in TunnelCodec frames.
//
// Buffers are bounded. What the game sends waits for the stream when the stream is
// full (back-pressure: the socket is not read, so the game's own TCP connection fills
// and it slows down); what arrives for a game that does not read closes the bridge
// once more than maxUnsentBytes wait. Until the socket is attached (the joiner's game
// is still starting) up to maxEarlyBytes are kept for it.
//
// A stream on which nothing arrives for silenceMs is taken as lost (a relay gone, a
// router's mapping dropped): the other end sends an alive frame whenever it has sent
// nothing for aliveMs. The bridge ends once: closed() says why, the socket is closed
// (the game then sees its connection end as after any close) and the other end is
// told when it can still hear.
class IceBridge : public QObject
{
    Q_OBJECT

public:
    enum class End {
        GameClosed, // the game on this side closed its connection
        PeerClosed, // the game on the other side closed its connection
        Silent, // nothing arrived for silenceMs
        Broken, // the stream failed, or carried something that is not frames
        GameNotReading, // the game on this side does not read what arrives
        TooEarly, // more arrived than is kept before the game connects
    };
    struct Timing
    {
        int aliveMs = 1000;
        int silenceMs = 10000;
    };
    static constexpr qint64 maxUnsentBytes = 1024 * 1024;
    static constexpr qint64 maxEarlyBytes = 64 * 1024;
    // What is read from the game at once, and what may wait for the stream.
    static constexpr qint64 readChunkBytes = TunnelCodec::maxDataBytes;

    // A few words for a log: "the game closed it", "nothing arrived"...
    static QString endName(End end);

    // Takes `agent` (connected) and `socket` (connected, or null until attach()).
    IceBridge(IceAgent *agent, QTcpSocket *socket, const Timing &timing, QObject *parent = nullptr);
    ~IceBridge() override;

    void attach(QTcpSocket *socket);
    IceAgent *agent() const { return agent_; }
    bool isAttached() const { return !socket_.isNull(); }
    bool isOpen() const { return open_; }
    // What arrived before the socket was attached (the host's greeting).
    const QByteArray &early() const { return early_; }
    // Bytes carried each way so far.
    qint64 bytesToPeer() const { return toPeer_; }
    qint64 bytesFromPeer() const { return fromPeer_; }
    // Ends the bridge as if the game on this side had closed.
    void close();
    // The same, after taking what the game sent right before it closed, when the system
    // has it already (a game that has just ended).
    void closeAfterReading();

Q_SIGNALS:
    // Bytes arrived before the socket was attached.
    void earlyBytes();
    void closed(IceBridge::End end);

private:
    void readGame();
    void pump();
    void received(const QByteArray &bytes);
    void sendFrames(const QByteArray &frames);
    void finish(End end, bool tellPeer);

    QPointer<IceAgent> agent_;
    QPointer<QTcpSocket> socket_;
    Timing timing_;
    TunnelCodec reader_;
    QByteArray outgoing_; // frames the stream has not taken yet
    QByteArray early_;
    QTimer aliveTimer_;
    QTimer silenceTimer_;
    QElapsedTimer sinceSent_;
    qint64 toPeer_ = 0;
    qint64 fromPeer_ = 0;
    bool open_ = true;
};

Q_DECLARE_METATYPE(IceBridge::End)
