// Arbitrary bytes from a host into the player's side of the protocol: the first byte
// sets this player's slot and role, the rest is framed at 0xFF as the window frames
// what arrives and handed message by message to the client dispatch. Every request
// the dispatch sends back is one whole message, the spy list stays within its bound,
// and any round length, zero included, gives the clock bar a width it can draw.
#include "clientdispatch.h"
#include "clientstate.h"
#include "gameflowhandlers.h"
#include "gamesounds.h"
#include "inputbuffer.h"
#include "rostermodel.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

class QuietGameFlow : public GameFlowHandlers
{
public:
    void startthegame(const QByteArray &) override { }
    void getnextplayer(const QByteArray &) override { }
    void winner(const QByteArray &) override { }
    void loadboard(const QByteArray &) override { }
    void goodword(const QByteArray &) override { }
    void notvalid(const QByteArray &) override { }
    void timeup(const QByteArray &) override { }
    void joinRunningRound() override { }
};

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
    ClientState state;
    state.myslot = data[0] & 0x0F;
    state.ishost = (data[0] & 0x10) != 0;
    state.isconnected = (data[0] & 0x20) != 0;
    state.loginname = QStringLiteral("Ann");
    RosterModel roster;
    GameSounds sounds;
    QuietGameFlow flow;
    ClientDispatch dispatch(state, roster, sounds);
    dispatch.setGameFlow(&flow);
    QObject::connect(&dispatch, &ClientDispatch::send, [](const QByteArray &message) {
        check(message.endsWith('\xFF'));
        check(message.indexOf('\xFF') == message.size() - 1);
    });

    InputBuffer input;
    input.append(QByteArrayView(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1)));
    while (input.hasMessage()) {
        dispatch.processsocktimer(input.takeMessage());
        check(dispatch.spies().size() <= ClientDispatch::maxSpies);
        check(state.pixelspersecond >= 0);
    }
    dispatch.kicking(2);
    dispatch.JustWatch1Click();
    check(dispatch.tallyRoster().names.size() == RosterModel::slotCount);
    return 0;
}
