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
        it = buckets_.insert(sender, {nowMs, rate_.burst});
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
