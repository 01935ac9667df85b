// Arbitrary bytes from a host into the player's side of the protocol: the first byte
// sets this player's slot and role (bit 6: a returning connection waits for the host's
// answer to its token), the rest is framed at 0xFF as the window frames
// what arrives and handed message by message to the client dispatch, which decodes
// each one (Wire::FromHost) for the game session. Every request the dispatch sends
// back is one whole message, the spy list stays within its bound, and any round
// length, zero included, gives the clock bar a width it can draw.
#include "clientdispatch.h"
#include "gamesession.h"
#include "gamesounds.h"
#include "inputbuffer.h"
#include "rostermodel.h"
#include "sessionsounds.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    GameSession session;
    session.setPlayer(QStringLiteral("Ann"), QStringLiteral("127.0.0.1"));
    session.takeRole((data[0] & 0x10) != 0);
    GameSounds sounds;
    SessionSounds sessionSounds(session, sounds);
    ClientDispatch dispatch(session);
    QObject::connect(&dispatch, &ClientDispatch::send, [](const QByteArray &message) {
        check(message.endsWith('\xFF'));
        check(message.indexOf('\xFF') == message.size() - 1);
    });
    if (data[0] & 0x20)
        dispatch.processsocktimer("CMD_sendlogininfo+" + QByteArray::number((data[0] & 0x0F) + 1));
    if (data[0] & 0x40) {
        session.connectionLost();
        dispatch.awaitReturn();
    }

    InputBuffer input;
    input.append(QByteArrayView(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1)));
    while (input.hasMessage()) {
        dispatch.processsocktimer(input.takeMessage());
        check(session.spies().size() <= GameSession::maxSpies);
        check(session.state().pixelspersecond >= 0);
        session.turntimeTimer();
    }
    dispatch.kicking(2);
    dispatch.JustWatch1Click();
    check(session.tallyRoster().names.size() == RosterModel::slotCount);
    return 0;
}
