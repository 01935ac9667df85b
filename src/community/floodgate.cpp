#include "floodgate.h"

#include <algorithm>

FloodGate::FloodGate(Rate rate, int maxSenders)
    : rate_ {std::max(1, rate.burst), std::max(1, rate.refillMs)}
    , maxSenders_(maxSenders)
{ }

FloodGate::Bucket FloodGate::refilled(const Bucket &bucket, qint64 nowMs) const
{
    if (bucket.tokens >= rate_.burst || nowMs <= bucket.tokensAt)
        return bucket;
    const qint64 gained = (nowMs - bucket.tokensAt) / rate_.refillMs;
    if (bucket.tokens + gained >= rate_.burst)
        return {nowMs, rate_.burst};
    // Keep the part of a refill period already run, so that tokens come evenly.
    return {bucket.tokensAt + gained * rate_.refillMs, int(bucket.tokens + gained)};
}

bool FloodGate::allow(const QString &sender, qint64 nowMs)
{
    auto it = buckets_.find(sender);
    if (it == buckets_.end()) {
        if (buckets_.size() >= maxSenders_)
            return false;
        const auto gone = departed_.constFind(sender);
        if (gone != departed_.cend()) {
            it = buckets_.insert(sender, *gone);
            departed_.erase(gone);
            departedOrder_.removeOne(sender);
        } else {
            it = buckets_.insert(sender, {nowMs, rate_.burst});
        }
    }
    Bucket bucket = refilled(*it, nowMs);
    if (bucket.tokens == 0) {
        *it = bucket;
        return false;
    }
    // A full bucket starts its refill period when its first token goes.
    if (bucket.tokens == rate_.burst)
        bucket.tokensAt = nowMs;
    --bucket.tokens;
    *it = bucket;
    return true;
}

qint64 FloodGate::waitFor(const QString &sender, qint64 nowMs) const
{
    const auto it = buckets_.constFind(sender);
    if (it == buckets_.cend())
        return buckets_.size() >= maxSenders_ ? rate_.refillMs : 0;
    const Bucket bucket = refilled(*it, nowMs);
    return bucket.tokens > 0 ? 0 : std::max<qint64>(1, bucket.tokensAt + rate_.refillMs - nowMs);
}

void FloodGate::forget(const QString &sender, qint64 nowMs)
{
    const auto it = buckets_.constFind(sender);
    if (it == buckets_.cend())
        return;
    const Bucket bucket = refilled(*it, nowMs);
    buckets_.erase(it);
    if (bucket.tokens >= rate_.burst)
        return;
    if (departed_.contains(sender))
        departedOrder_.removeOne(sender);
    departed_.insert(sender, bucket);
    departedOrder_.append(sender);
    while (departedOrder_.size() > maxSenders_)
        departed_.remove(departedOrder_.takeFirst());
}

void FloodGate::rename(const QString &from, const QString &to)
{
    if (from == to || buckets_.contains(to))
        return;
    const auto it = buckets_.constFind(from);
    if (it == buckets_.cend())
        return;
    const Bucket bucket = *it;
    buckets_.erase(it);
    buckets_.insert(to, bucket);
}

void FloodGate::clear()
{
    buckets_.clear();
    departed_.clear();
    departedOrder_.clear();
}
