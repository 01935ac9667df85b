// Arbitrary bytes as a discovery datagram: decoding stays in bounds, whatever decodes
// keeps every rule of the format (it encodes to a datagram that decodes to the same),
// and its text shows without control characters. The bytes also drive the answer
// limit as queries from changing senders.
#include "answerlimit.h"
#include "discoverybrowser.h"
#include "discoverywire.h"
#include "gamelistmodel.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto datagram = DiscoveryWire::decode(bytes);
    if (datagram && datagram->game) {
        const DiscoveryWire::Game &game = *datagram->game;
        if (game.players + game.watchers > game.capacity
            || game.hostName.size() > DiscoveryWire::maxNameBytes)
            __builtin_trap();
        const QByteArray again = DiscoveryWire::encodeGame(game);
        if (again.size() != bytes.size() || again.size() >= DiscoveryWire::queryBytes)
            __builtin_trap();
        const auto back = DiscoveryWire::decode(again);
        if (!back || !back->game || !(*back->game == game))
            __builtin_trap();
        const ListedGame found {game, QStringLiteral("127.0.0.1"), game.port, {}};
        for (int column = 0; column < GameListModel::ColumnCount; ++column)
            for (const QChar c : GameListModel::text(found, column))
                if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F))
                    __builtin_trap();
    } else if (datagram && datagram->kind != DiscoveryWire::Kind::Query) {
        __builtin_trap();
    }

    // Every 3 bytes: the last byte of a sender, a nonce and a step of time.
    AnswerLimit limit({3, 30, 16});
    qint64 now = 0;
    int answered = 0;
    for (size_t i = 0; i + 3 <= size; i += 3) {
        now += data[i + 2] % 64;
        answered += limit.allow(QHostAddress(quint32(0x0A000000 | data[i])), data[i + 1], now);
        if (limit.rememberedSenders() > 16 || answered > 30 * (now / 1000 + 1))
            __builtin_trap();
    }
    return 0;
}
