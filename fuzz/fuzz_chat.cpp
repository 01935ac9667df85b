// Arbitrary bytes as a relayed chat message, a chatter-sound message and a link word:
// parsing stays inside its input and every result is well formed.
#include "chatcommands.h"
#include "chatlinks.h"
#include "chatstyles.h"
#include "codedline.h"
#include "colortext.h"
#include "gamesounds.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The wire is Latin-1: every byte is one character.
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));

    const ChatCommands::ReceivedLine received = ChatCommands::chatrecieved(text);
    if (!received.colour.isValid())
        std::abort();
    if (const auto line = CodedLine::parse(received.line)) {
        if (line->style < 0 || line->style >= ChatStyles::count)
            std::abort();
        for (const ChatItem &item : line->items) {
            if (item.kind == ChatItem::Smiley && (item.picture < 0 || item.picture >= CodedLine::smileyCount))
                std::abort();
            if (item.kind != ChatItem::Smiley && !item.text.endsWith(QLatin1Char(' ')))
                std::abort();
            if (item.kind == ChatItem::Link) {
                const QUrl url = ChatLinks::webAddress(item.text);
                if (!url.isEmpty() && url.scheme() != QLatin1String("http")
                    && url.scheme() != QLatin1String("https"))
                    std::abort();
            }
        }
    }

    if (const auto colour = ColorText::fromText(text)) {
        const auto again = ColorText::fromText(ColorText::toText(*colour));
        if (!again || *again != *colour)
            std::abort();
    }

    if (ChatCommands::wireText(text).toLatin1().contains('\xff'))
        std::abort();

    GameSounds sounds;
    sounds.setPlayChatterSounds(false);
    sounds.playasound(text, [](int slot) -> std::optional<QString> {
        if (slot >= 1 && slot <= 10)
            return QStringLiteral("P");
        return std::nullopt;
    });
    return 0;
}
