#include "answerlimit.h"

namespace {

constexpr qint64 windowMs = 1000;
// A repeated nonce is recognised this long; a sender quiet this long is forgotten.
constexpr qint64 memoryMs = 2000;

} // namespace

AnswerLimit::AnswerLimit()
    : AnswerLimit(Rates())
{ }

AnswerLimit::AnswerLimit(Rates rates)
    : rates_(rates)
{ }

bool AnswerLimit::Window::hasRoom(qint64 now, int limit) const
{
    if (limit <= 0)
        return false;
    // Full: the oldest answer must have left the window.
    return int(times.size()) < limit || now - times[next] >= windowMs;
}

void AnswerLimit::Window::add(qint64 now, int limit)
{
    newest = now;
    if (int(times.size()) < limit) {
        times.push_back(now);
        return;
    }
    times[next] = now;
    next = (next + 1) % times.size();
}

void AnswerLimit::forgetQuietSenders(qint64 now)
{
    for (auto it = senders_.begin(); it != senders_.end();)
        it = now - it->answers.newest >= memoryMs ? senders_.erase(it) : std::next(it);
}

bool AnswerLimit::allow(const QHostAddress &address, quint32 nonce, qint64 nowMs)
{
    bool mapped = false;
    const quint32 v4 = address.toIPv4Address(&mapped);
    const QHostAddress sender = mapped ? QHostAddress(v4) : address;

    auto it = senders_.find(sender);
    if (it != senders_.end() && it->lastNonce == nonce && nowMs - it->answers.newest < memoryMs)
        return false;
    if (!total_.hasRoom(nowMs, rates_.total))
        return false;
    if (it == senders_.end()) {
        if (senders_.size() >= rates_.maxSenders)
            forgetQuietSenders(nowMs);
        if (senders_.size() >= rates_.maxSenders)
            return false;
        it = senders_.insert(sender, Sender());
    }
    if (!it->answers.hasRoom(nowMs, rates_.perSender))
        return false;
    it->answers.add(nowMs, rates_.perSender);
    it->lastNonce = nonce;
    total_.add(nowMs, rates_.total);
    return true;
}
