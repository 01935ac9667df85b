// Arbitrary bytes as what the community room sends: XML after a stream's start, each
// element taken as a payload (bounded whatever its size and depth) and as an announced
// game (whatever decodes encodes back to the same); and the same bytes as an
// invitation link (whatever parses is only an address and a port that make the same
// link again) and as a chat line shown as HTML.
#include "gamelink.h"
#include "gamepayload.h"
#include "roomchattext.h"
#include "streampayloads.h"

#include <cstddef>
#include <cstdint>

namespace {

// An announced game: whatever decodes encodes back to the same.
void checkAnnouncement(const XmlPayload &payload)
{
    const auto announced = GamePayload::decode(payload);
    if (!announced)
        return;
    const auto again
        = GamePayload::decode(GamePayload::encode(announced->game, announced->address, announced->port));
    if (!again || !(again->game == announced->game) || again->address != announced->address
        || again->port != announced->port)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 64 * 1024)
        return 0;
    const std::string bytes(reinterpret_cast<const char *>(data), size);

    forEachStreamPayload(bytes, checkAnnouncement);

    const QString text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    if (const auto target = GameLink::parse(text, 7772)) {
        if (target->host.isEmpty() || target->port == 0 || target->host.startsWith(QLatin1Char('-')))
            __builtin_trap();
        const auto again = GameLink::parse(GameLink::format(target->host, target->port), 7772);
        if (!again || again->host != target->host || again->port != target->port)
            __builtin_trap();
    }
    const QString html = RoomChatText::toHtml(text);
    if (html.contains(QLatin1String("<script")))
        __builtin_trap();
    RoomChatText::firstGameLink(text);
    return 0;
}
