#pragma once

#include <QHash>
#include <QList>
#include <QString>

// Bounds how often each sender is heard: every sender has a bucket of `burst` tokens,
// refilled by one every `refillMs`, and each message heard takes one; a message that
// finds the bucket empty is not let through. At most `maxSenders` buckets are kept:
// a new sender beyond them is not let through until one is forgotten. A forgotten
// sender's bucket that has not refilled yet is remembered (at most `maxSenders` of
// them, the oldest dropped first) and taken up again if it comes back, so that
// leaving and coming back gains nothing. Time comes from the caller, in milliseconds
// of a monotonic clock.
class FloodGate
{
public:
    struct Rate
    {
        int burst = 5;
        int refillMs = 1000;
    };

    FloodGate(Rate rate, int maxSenders);

    // Takes a token from `sender`'s bucket; false when it was empty.
    bool allow(const QString &sender, qint64 nowMs);
    // How long until `sender` has a token again: 0 when it has one now.
    qint64 waitFor(const QString &sender, qint64 nowMs) const;
    void forget(const QString &sender, qint64 nowMs);
    // `from` goes on as `to` (a new name), with its bucket.
    void rename(const QString &from, const QString &to);
    void clear();
    int senders() const { return int(buckets_.size()); }

private:
    struct Bucket
    {
        qint64 tokensAt = 0; // when the bucket held `tokens`
        int tokens = 0;
    };
    Bucket refilled(const Bucket &bucket, qint64 nowMs) const;

    Rate rate_;
    int maxSenders_;
    QHash<QString, Bucket> buckets_;
    QHash<QString, Bucket> departed_; // forgotten before they refilled
    QList<QString> departedOrder_; // oldest first
};
