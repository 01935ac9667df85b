// Arbitrary bytes from a host into a computer player: byte 0 is the slot the host
// first assigns, the rest is framed at 0xFF as the player frames what arrives and
// handed to it message by message. A round it starts plans only words of the board
// it was sent, each traced through neighbouring cells, never two within a second.
#include "botplayer.h"
#include "inputbuffer.h"
#include "lazywordtrie.h"
#include "tdictn.h"
#include "wire.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

struct Dictionary
{
    QTemporaryDir folder;
    TDictn spell {folder.path(), TDictn::builtinResource};
    LazyWordTrie trie {spell};
};

Dictionary &dictionary()
{
    static int argc = 1;
    static char name[] = "fuzz_botplayer";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static Dictionary d;
    return d;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    Dictionary &d = dictionary();
    d.trie.trie();
    BotPlayer bot(QStringLiteral("Klot"), BotStrength::Hard, d.trie, 1);
    bot.handleMessage("CMD_sendlogininfo+" + QByteArray::number(data[0] % 12));

    InputBuffer input;
    input.append(QByteArrayView(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1)));
    while (input.hasMessage()) {
        bot.handleMessage(input.takeMessage());
        qint64 previous = -BotStrength::minClaimGapMs;
        for (const BotBrain::Claim &claim : bot.brain().plan()) {
            check(claim.atMs - previous >= BotStrength::minClaimGapMs);
            previous = claim.atMs;
            const QList<BoardCell> &path = claim.word.path;
            check(path.size() == claim.word.word.size() && path.size() <= Wire::maxTiles);
            for (qsizetype i = 0; i < path.size(); ++i) {
                check(path[i].row >= 0 && path[i].row < Wire::boardSize);
                check(path[i].col >= 0 && path[i].col < Wire::boardSize);
                if (i > 0)
                    check(std::abs(path[i].row - path[i - 1].row) <= 1
                        && std::abs(path[i].col - path[i - 1].col) <= 1);
            }
        }
    }
    return 0;
}
