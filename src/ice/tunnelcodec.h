#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// The frames two bridges exchange over an ICE stream, around the game's own bytes:
//
//   kind (1 byte) | length (2 bytes, big-endian) | body (length bytes)
//
//   kind 1 data:  1 to maxDataBytes bytes of the game connection, as they came
//   kind 2 alive: no body; sent when nothing else went out for a while, so that a
//                 silent path (a relay gone, a router's mapping dropped) is noticed
//   kind 3 close: no body; the game connection on the sender's side has closed
//
// The game's bytes pass unchanged, so the game's protocol is the same whether it goes
// over TCP or through a bridge. A reader holds at most one incomplete frame.
class TunnelCodec
{
public:
    enum class Kind : quint8 { Data = 1, Alive = 2, Close = 3 };
    static constexpr int headerBytes = 3;
    static constexpr int maxDataBytes = 16384;

    struct Frame
    {
        Kind kind = Kind::Data;
        QByteArray body;
    };

    // The game's bytes as data frames (as many as they need).
    static QByteArray data(QByteArrayView bytes);
    static QByteArray alive();
    static QByteArray close();

    // Takes bytes as they arrive and appends the complete frames to `frames`; false
    // (and nothing more is ever read) once the bytes are not frames: an unknown kind, a
    // data frame of no bytes or too many, a body on an alive or close frame.
    bool feed(QByteArrayView bytes, QList<Frame> &frames);
    bool isBroken() const { return broken_; }
    // Bytes of an incomplete frame held.
    qsizetype pending() const { return partial_.size(); }

private:
    QByteArray partial_;
    bool broken_ = false;
};
