// Arbitrary bytes as what the community room sends: XML after a stream's start, each
// element taken as a payload (bounded whatever its size and depth) and as an announced
// game (whatever decodes encodes back to the same); and the same bytes as an
// invitation link (whatever parses is only an address and a port that make the same
// link again) and as a chat line shown as HTML.
#include "gamelink.h"
#include "gamepayload.h"
#include "glooxpayload.h"
#include "roomchattext.h"

#include <gloox/parser.h>
#include <gloox/tag.h>
#include <gloox/taghandler.h>

#include <cstddef>
#include <cstdint>

namespace {

class Elements : public gloox::TagHandler
{
public:
    void handleTag(gloox::Tag *tag) override
    {
        if (!tag)
            return;
        check(tag);
        for (const gloox::Tag *child : tag->children())
            check(child);
    }

private:
    static void check(const gloox::Tag *tag)
    {
        const auto payload = GlooxPayload::fromTag(tag);
        if (!payload)
            return;
        if (!payload->isWithinBounds())
            __builtin_trap();
        const auto announced = GamePayload::decode(*payload);
        if (!announced)
            return;
        const auto again
            = GamePayload::decode(GamePayload::encode(announced->game, announced->address, announced->port));
        if (!again || !(again->game == announced->game) || again->address != announced->address
            || again->port != announced->port)
            __builtin_trap();
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 64 * 1024)
        return 0;
    const std::string bytes(reinterpret_cast<const char *>(data), size);

    Elements elements;
    gloox::Parser parser(&elements);
    std::string stream
        = "<stream:stream xmlns='jabber:client' xmlns:stream='http://etherx.jabber.org/streams'>";
    parser.feed(stream);
    std::string rest = bytes;
    parser.feed(rest);

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
