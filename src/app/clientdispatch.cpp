#include "clientdispatch.h"

#include "fieldreader.h"
#include "gameoptions.h"
#include "gamesession.h"

#include <array>
#include <utility>

ClientDispatch::ClientDispatch(GameSession &session, QObject *parent)
    : QObject(parent)
    , session_(session)
{
    setObjectName(QStringLiteral("clientdispatch"));
}

void ClientDispatch::processsocktimer(const QByteArray &message)
{
    using Handler = void (ClientDispatch::*)(const QByteArray &);
    struct Entry
    {
        QByteArrayView command;
        Handler handler;
    };
    // Compared in this order, exactly and with case.
    static const std::array<Entry, 29> table {{
        {Wire::Cmd::sendlogininfo, &ClientDispatch::sendloginfo},
        {Wire::Cmd::chat, &ClientDispatch::chat},
        {Wire::Cmd::action, &ClientDispatch::chat},
        {Wire::Cmd::newplayerinfo, &ClientDispatch::newplayerinfo},
        {Wire::Cmd::havewrongversion, &ClientDispatch::havewrongversion},
        {Wire::Cmd::wrongversion, &ClientDispatch::wrongversion},
        {Wire::Cmd::existingplayers, &ClientDispatch::newplayerinfo},
        {Wire::Cmd::playerdisconnected, &ClientDispatch::playerdisconnected},
        {Wire::Cmd::startgame, &ClientDispatch::startthegame},
        {Wire::Cmd::nextplayer, &ClientDispatch::getnextplayer},
        {Wire::Cmd::winner, &ClientDispatch::winner},
        {Wire::Cmd::full, &ClientDispatch::full},
        {Wire::Cmd::justwatching, &ClientDispatch::justwatching},
        {Wire::Cmd::loadboard, &ClientDispatch::loadboard},
        {Wire::Cmd::goodword, &ClientDispatch::goodword},
        {Wire::Cmd::addscore, &ClientDispatch::addscore},
        {Wire::Cmd::notvalid, &ClientDispatch::notvalid},
        {Wire::Cmd::timeup, &ClientDispatch::timeup},
        {Wire::Cmd::loadstats, &ClientDispatch::loadstats},
        {Wire::Cmd::mainlist, &ClientDispatch::mainlist},
        {Wire::Cmd::playasound, &ClientDispatch::playasound},
        {Wire::Cmd::rejointoken, &ClientDispatch::rejointoken},
        {Wire::Cmd::welcomeback, &ClientDispatch::welcomeback},
        {Wire::Cmd::rejoinrefused, &ClientDispatch::rejoinrefused},
        {Wire::Cmd::playeraway, &ClientDispatch::playeraway},
        {Wire::Cmd::playerback, &ClientDispatch::playerback},
        {Wire::Cmd::seats, &ClientDispatch::seats},
        {Wire::Cmd::foundwords, &ClientDispatch::foundwords},
        {Wire::Cmd::hostclosing, &ClientDispatch::hostclosing},
    }};

    const auto [command, rest] = FieldReader::splitCommand(message);
    if (command.isEmpty())
        return;
    // The greeting of the seat the connection got on arrival, "CMD_full" and whatever
    // else came before the answer belong to no seat of this player.
    if (awaitingReturn_ && command != Wire::Cmd::welcomeback && command != Wire::Cmd::rejoinrefused)
        return;
    for (const Entry &entry : table) {
        if (command == entry.command) {
            (this->*entry.handler)(rest);
            return;
        }
    }
}

// --- Decoded and handed on ----------------------------------------------------------

void ClientDispatch::sendloginfo(const QByteArray &rest)
{
    const auto slot = Wire::FromHost::sendlogininfo(rest);
    if (!slot)
        return;
    session_.sendloginfo(*slot);
    const ClientState &state = session_.state();
    // Before the login, which an older host answers at once: it ignores the offer.
    Q_EMIT send(Wire::ToHost::canrejoin(state.myslot));
    Q_EMIT send(
        Wire::ToHost::logininfo(state.myslot, QString::fromLatin1(wendlewickVersion), state.loginname));
}

void ClientDispatch::rejointoken(const QByteArray &rest)
{
    const auto ticket = Wire::FromHost::rejointoken(rest);
    if (ticket && ticket->slot == session_.state().myslot)
        Q_EMIT ticketReceived(*ticket);
}

void ClientDispatch::welcomeback(const QByteArray &rest)
{
    const auto ticket = Wire::FromHost::rejointoken(rest);
    if (!awaitingReturn_ || !ticket)
        return;
    awaitingReturn_ = false;
    session_.beginReturn(ticket->slot);
    Q_EMIT returnAccepted(*ticket);
    const ClientState &state = session_.state();
    Q_EMIT send(
        Wire::ToHost::logininfo(state.myslot, QString::fromLatin1(wendlewickVersion), state.loginname));
}

void ClientDispatch::rejoinrefused(const QByteArray &)
{
    if (std::exchange(awaitingReturn_, false))
        Q_EMIT returnRefused();
}

void ClientDispatch::playeraway(const QByteArray &rest)
{
    if (const auto slot = Wire::FromHost::slotOf(rest))
        session_.playeraway(*slot);
}

void ClientDispatch::playerback(const QByteArray &rest)
{
    if (const auto slot = Wire::FromHost::slotOf(rest))
        session_.playerback(*slot);
}

void ClientDispatch::seats(const QByteArray &rest)
{
    session_.seats(Wire::FromHost::seats(rest));
}

void ClientDispatch::foundwords(const QByteArray &rest)
{
    if (const auto found = Wire::FromHost::foundwords(rest))
        session_.foundwords(*found);
}

void ClientDispatch::hostclosing(const QByteArray &)
{
    session_.hostclosing();
}

void ClientDispatch::newplayerinfo(const QByteArray &rest)
{
    session_.newplayerinfo(Wire::FromHost::newplayerinfo(rest));
}

void ClientDispatch::playerdisconnected(const QByteArray &rest)
{
    if (const auto left = Wire::FromHost::playerdisconnected(rest))
        session_.playerdisconnected(*left);
}

void ClientDispatch::justwatching(const QByteArray &rest)
{
    if (const auto watching = Wire::FromHost::justwatching(rest))
        session_.justwatching(*watching);
}

void ClientDispatch::addscore(const QByteArray &rest)
{
    if (const auto score = Wire::FromHost::addscore(rest))
        session_.addscore(*score);
}

void ClientDispatch::loadstats(const QByteArray &rest)
{
    if (const auto stats = Wire::FromHost::loadstats(rest))
        session_.loadstats(*stats);
}

void ClientDispatch::mainlist(const QByteArray &rest)
{
    if (const auto list = Wire::FromHost::mainlist(rest))
        session_.mainlist(*list);
}

void ClientDispatch::startthegame(const QByteArray &rest)
{
    session_.startthegame(Wire::FromHost::startgame(rest));
}

void ClientDispatch::getnextplayer(const QByteArray &rest)
{
    session_.getnextplayer(Wire::FromHost::nextplayer(rest));
}

void ClientDispatch::winner(const QByteArray &rest)
{
    session_.winner(Wire::FromHost::winner(rest));
}

void ClientDispatch::loadboard(const QByteArray &rest)
{
    session_.loadboard(Wire::FromHost::loadboard(rest));
}

void ClientDispatch::goodword(const QByteArray &rest)
{
    if (const auto word = Wire::FromHost::goodword(rest))
        session_.goodword(*word);
}

void ClientDispatch::notvalid(const QByteArray &rest)
{
    if (const auto refusal = Wire::FromHost::notvalid(rest))
        session_.notvalid(*refusal);
}

void ClientDispatch::timeup(const QByteArray &rest)
{
    session_.timeup(Wire::FromHost::timeup(rest));
}

void ClientDispatch::chat(const QByteArray &rest)
{
    session_.chat(Wire::FromHost::text(rest));
}

void ClientDispatch::havewrongversion(const QByteArray &rest)
{
    session_.havewrongversion(Wire::FromHost::text(rest));
}

void ClientDispatch::wrongversion(const QByteArray &)
{
    session_.wrongversion();
}

void ClientDispatch::full(const QByteArray &)
{
    session_.full();
}

void ClientDispatch::playasound(const QByteArray &rest)
{
    session_.playasound(Wire::FromHost::text(rest));
}

// --- Requests ---------------------------------------------------------------------

void ClientDispatch::kicking(int slot)
{
    const ClientState &state = session_.state();
    if (state.ishost && state.isconnected)
        request(Wire::ToHost::kickhim(state.myslot, slot));
}

void ClientDispatch::SettoJustWatch1Click(int slot)
{
    sendJustWatch(slot, Wire::WatchMode::Watch);
}

void ClientDispatch::UnsetJustWatch1Click(int slot)
{
    sendJustWatch(slot, Wire::WatchMode::PlayAgain);
}

void ClientDispatch::JustWatch1Click()
{
    const ClientState &state = session_.state();
    if (state.myslot >= 1)
        sendJustWatch(state.myslot, state.justWatching ? Wire::WatchMode::PlayAgain : Wire::WatchMode::Watch);
}

void ClientDispatch::sendJustWatch(int slot, Wire::WatchMode mode)
{
    const ClientState &state = session_.state();
    if (state.isconnected && slot <= state.maxplayers)
        request(Wire::ToHost::justwatch(slot, mode));
}

void ClientDispatch::startgame(const GameOptions &options)
{
    request(Wire::ToHost::startgame(session_.state().loginname, options.playToScore, options.roundTime,
        options.sizeCode, options.minLetters));
}

void ClientDispatch::playerdone(std::span<const Wire::Tile> tiles)
{
    const ClientState &state = session_.state();
    if (state.isconnected && state.myslot >= 1)
        request(Wire::ToHost::playerdone(state.myslot, tiles));
}

void ClientDispatch::sendMessage(const QString &command, const QStringList &fields)
{
    request(Wire::toWire(command + QLatin1Char('+') + fields.join(QLatin1Char('+'))) + Wire::terminator);
}

void ClientDispatch::leave()
{
    const ClientState &state = session_.state();
    if (state.isconnected && state.myslot >= 1)
        request(Wire::ToHost::leaving(state.myslot));
}

void ClientDispatch::request(const QByteArray &message)
{
    if (online_ && !awaitingReturn_)
        Q_EMIT send(message);
}
