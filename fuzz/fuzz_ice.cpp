// Arbitrary bytes as what the other end of a connection through routers sends: XML
// after a stream's start, each element taken as a signal (whatever decodes keeps to
// its bounds, encodes back to the same, and has every candidate judged by the rules of
// what may be checked); and the same bytes as a bridge's stream of frames, cut where
// the first byte says (no frame past its bound, never more than one frame held).
#include "candidatepolicy.h"
#include "icesignal.h"
#include "streampayloads.h"
#include "tunnelcodec.h"

#include <cstddef>
#include <cstdint>

namespace {

// A signal: whatever decodes keeps to its bounds, encodes back to the same, and has
// no candidate the rules let through at a loopback or multicast address or port 0.
void checkSignal(const XmlPayload &payload)
{
    const std::optional<IceSignal> signal = IceSignal::decode(payload);
    if (!signal)
        return;
    if (signal->candidates.size() > IceSignal::maxCandidates)
        __builtin_trap();
    const XmlPayload again = signal->encode();
    if (!again.isWithinBounds() || !(IceSignal::decode(again) == signal))
        __builtin_trap();
    static const CandidatePolicy policy;
    for (const IceSignal::Candidate &c : signal->candidates) {
        const QHostAddress a = CandidatePolicy::plain(c.address);
        if (policy.problem(c).isEmpty() && (a.isLoopback() || a.isMulticast() || c.port == 0))
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 64 * 1024)
        return 0;
    const std::string bytes(reinterpret_cast<const char *>(data), size);

    forEachStreamPayload(bytes, checkSignal);

    TunnelCodec reader;
    QList<TunnelCodec::Frame> frames;
    const qsizetype step = size ? 1 + data[0] % 64 : 1;
    for (size_t at = 0; at < size; at += size_t(step)) {
        const QByteArrayView piece(
            reinterpret_cast<const char *>(data) + at, std::min<qsizetype>(step, qsizetype(size - at)));
        if (!reader.feed(piece, frames))
            break;
        if (reader.pending() > TunnelCodec::headerBytes + TunnelCodec::maxDataBytes)
            __builtin_trap();
    }
    for (const TunnelCodec::Frame &frame : std::as_const(frames))
        if (frame.body.size() > TunnelCodec::maxDataBytes
            || (frame.kind != TunnelCodec::Kind::Data && !frame.body.isEmpty()))
            __builtin_trap();
    return 0;
}
