#pragma once

#include <QHash>
#include <QHostAddress>

#include <limits>
#include <vector>

// Decides which discovery queries a host answers, so that a forged sender address
// cannot turn the host into an amplifier aimed at someone else: at most `perSender`
// answers to one address and at most `total` answers in all within any one second,
// and a query repeated with the same nonce (one query reaching the host by multicast
// and by broadcast) is answered once. Time is given by the caller, in milliseconds
// of a monotonic clock.
class AnswerLimit
{
public:
    struct Rates
    {
        int perSender = 3;
        int total = 30;
        // Addresses remembered at once; a new address finds no room while this many
        // were answered within the last two seconds, and is not answered.
        int maxSenders = 256;
    };

    AnswerLimit();
    explicit AnswerLimit(Rates rates);

    // Whether to answer; an answer allowed is counted.
    bool allow(const QHostAddress &sender, quint32 nonce, qint64 nowMs);

    int rememberedSenders() const { return int(senders_.size()); }

private:
    // The times of the last answers, oldest first when full.
    struct Window
    {
        std::vector<qint64> times;
        // Where the oldest time is once the window is full.
        size_t next = 0;
        qint64 newest = std::numeric_limits<qint64>::min() / 2;
        bool hasRoom(qint64 now, int limit) const;
        void add(qint64 now, int limit);
    };
    struct Sender
    {
        Window answers;
        quint32 lastNonce = 0;
    };

    void forgetQuietSenders(qint64 now);

    Rates rates_;
    Window total_;
    QHash<QHostAddress, Sender> senders_;
};
