#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <deque>

// One connection's receive side: takes whatever bytes arrived, cuts them into
// messages at the terminator byte 0xFF and queues the messages in arrival order.
// Bytes after the last terminator wait for the rest of their message.
//
// Both sides of the game use it: the host keeps one per connection, a player's
// window one for its connection to the host. Everything is bounded: a peer that
// sends more than maxPartialBytes without a terminator, or whose queued messages
// pass maxQueuedMessages or maxQueuedBytes, makes append() return false; the buffer
// then drops everything and refuses further bytes, and the owner closes the
// connection. No honest message comes near these bounds (the largest, a round's
// word list, is a few KiB).
//
// An empty message (two terminators in a row) carries nothing and is not queued.
class InputBuffer
{
public:
    struct Limits
    {
        qsizetype maxPartialBytes = 64 * 1024;
        qsizetype maxQueuedMessages = 1000;
        qsizetype maxQueuedBytes = 1024 * 1024;
    };

    InputBuffer();
    explicit InputBuffer(Limits limits);

    // Frames the bytes. False when a bound is exceeded (see above), and from then on
    // until clear().
    bool append(QByteArrayView bytes);

    bool hasMessage() const { return !queue_.empty(); }
    // The oldest queued message without its terminator, removed from the queue; an
    // empty array when none is queued.
    QByteArray takeMessage();

    qsizetype queuedMessages() const { return qsizetype(queue_.size()); }
    // Whether `message` (without its terminator) waits in the queue.
    bool holds(QByteArrayView message) const;
    qsizetype queuedBytes() const { return queuedBytes_; }
    qsizetype partialBytes() const { return partial_.size(); }
    bool overflowed() const { return overflowed_; }
    const Limits &limits() const { return limits_; }

    // Forgets the queue, the partial message and an overflow (a new connection).
    void clear();

private:
    void queue(QByteArrayView message);
    void overflow();

    Limits limits_;
    QByteArray partial_;
    std::deque<QByteArray> queue_;
    qsizetype queuedBytes_ = 0;
    bool overflowed_ = false;
};
