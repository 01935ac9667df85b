#include "clientdispatch.h"

#include "clientstate.h"
#include "fieldreader.h"
#include "gameflowhandlers.h"
#include "gamelabels.h"
#include "gamesounds.h"
#include "rostermodel.h"
#include "wire.h"

#include <array>

namespace {

// The round clock of a late joiner starts only with more than this many seconds left.
constexpr int lateJoinMinimumSeconds = 4;
// What "CMD_addscore" sets a bonus label's tag to: the round clock blanks it on its
// fourth tick after the score.
constexpr int bonusTicks = 3;
constexpr int watching = 1;
constexpr int playingAgain = 2;

QString text(QByteArrayView bytes)
{
    return Wire::fromWire(bytes);
}

} // namespace

ClientDispatch::ClientDispatch(ClientState &state, RosterModel &roster, GameSounds &sounds, QObject *parent)
    : QObject(parent)
    , state_(state)
    , roster_(roster)
    , sounds_(sounds)
{
    setObjectName(QStringLiteral("clientdispatch"));
}

void ClientDispatch::processsocktimer(const QByteArray &message)
{
    using Handler = void (ClientDispatch::*)(const QByteArray &);
    using FlowHandler = void (GameFlowHandlers::*)(const QByteArray &);
    // Handled here, or by the game flow.
    struct Entry
    {
        QByteArrayView command;
        Handler handler = nullptr;
        FlowHandler flowHandler = nullptr;
    };
    // Compared in this order, exactly and with case.
    static const std::array<Entry, 21> table {{
        {Wire::Cmd::sendlogininfo, &ClientDispatch::sendloginfo},
        {Wire::Cmd::chat, &ClientDispatch::chat},
        {Wire::Cmd::action, &ClientDispatch::chat},
        {Wire::Cmd::newplayerinfo, &ClientDispatch::newplayerinfo},
        {Wire::Cmd::havewrongversion, &ClientDispatch::havewrongversion},
        {Wire::Cmd::wrongversion, &ClientDispatch::wrongversion},
        {Wire::Cmd::existingplayers, &ClientDispatch::newplayerinfo},
        {Wire::Cmd::playerdisconnected, &ClientDispatch::playerdisconnected},
        {Wire::Cmd::startgame, nullptr, &GameFlowHandlers::startthegame},
        {Wire::Cmd::nextplayer, nullptr, &GameFlowHandlers::getnextplayer},
        {Wire::Cmd::winner, nullptr, &GameFlowHandlers::winner},
        {Wire::Cmd::full, &ClientDispatch::full},
        {Wire::Cmd::justwatching, &ClientDispatch::justwatching},
        {Wire::Cmd::loadboard, nullptr, &GameFlowHandlers::loadboard},
        {Wire::Cmd::goodword, nullptr, &GameFlowHandlers::goodword},
        {Wire::Cmd::addscore, &ClientDispatch::addscore},
        {Wire::Cmd::notvalid, nullptr, &GameFlowHandlers::notvalid},
        {Wire::Cmd::timeup, nullptr, &GameFlowHandlers::timeup},
        {Wire::Cmd::loadstats, &ClientDispatch::loadstats},
        {Wire::Cmd::mainlist, &ClientDispatch::mainlist},
        {Wire::Cmd::playasound, &ClientDispatch::playasound},
    }};

    const auto [command, rest] = FieldReader::splitCommand(message);
    if (command.isEmpty())
        return;
    for (const Entry &entry : table) {
        if (command != entry.command)
            continue;
        if (entry.handler)
            (this->*entry.handler)(rest);
        else if (flow_)
            (flow_->*entry.flowHandler)(rest);
        return;
    }
}

void ClientDispatch::sendloginfo(const QByteArray &rest)
{
    const qsizetype plus = rest.indexOf('+');
    const auto slot = FieldReader::toInt(plus < 0 ? QByteArrayView(rest) : QByteArrayView(rest).first(plus));
    if (!slot || *slot < 1)
        return;
    state_.myslot = *slot;
    state_.isconnected = true;
    Q_EMIT loggedIn();
    Q_EMIT send(
        Wire::ToHost::logininfo(state_.myslot, QString::fromLatin1(wendlewickVersion), state_.loginname));
}

void ClientDispatch::newplayerinfo(const QByteArray &rest)
{
    FieldReader fields(rest);
    fields.beginList();
    while (!fields.atListEnd()) {
        const auto slot = fields.nextInt();
        if (!slot)
            return;
        const QString name = text(fields.next());
        const QByteArray watchFlag = fields.next();
        const bool own = *slot == state_.myslot;

        if (own) {
            Q_EMIT systemLine(QStringLiteral("You are Connected."));
            Q_EMIT admitted();
        } else {
            Q_EMIT systemLine(name + QStringLiteral(" is Connected."));
        }

        if (*slot <= state_.maxplayers) {
            roster_.setName(*slot, name);
            roster_.setWatching(*slot, watchFlag == "1");
        } else {
            const QString entry = QString::number(*slot) + QStringLiteral(": ") + name;
            if (!spies_.contains(entry) && spies_.size() < maxSpies) {
                spies_.append(entry);
                Q_EMIT spyAdded(*slot, name);
            }
            Q_EMIT systemLine(own ? QStringLiteral("You are spying.") : name + QStringLiteral(" is spying."));
        }
    }
    sounds_.playsounds(QStringLiteral("entered"));
}

void ClientDispatch::playerdisconnected(const QByteArray &rest)
{
    FieldReader fields(rest);
    const auto slot = fields.nextInt();
    if (!slot)
        return;
    const QString name = text(fields.rest());
    // The host tells a removed player so before it closes the connection.
    if (*slot == state_.myslot && state_.myslot >= 1) {
        Q_EMIT systemLine(QStringLiteral("You have been removed from the game."));
        Q_EMIT removed();
        return;
    }
    if (*slot <= state_.maxplayers) {
        if (!RosterModel::isValidSlot(*slot))
            return;
        if (!roster_.isWaiting(*slot))
            Q_EMIT systemLine(roster_.row(*slot).name + QStringLiteral(" has left the room."));
        roster_.setName(*slot, RosterModel::waiting);
        roster_.setWatching(*slot, false);
        return;
    }
    const QString entry = QString::number(*slot) + QStringLiteral(": ") + name;
    if (spies_.removeOne(entry)) {
        Q_EMIT systemLine(name + QStringLiteral(" has disconnected."));
        Q_EMIT spyRemoved(*slot, name);
    }
}

void ClientDispatch::justwatching(const QByteArray &rest)
{
    FieldReader fields(rest);
    const auto slot = fields.nextInt();
    if (!slot || !RosterModel::isValidSlot(*slot) || *slot > state_.maxplayers)
        return;
    const bool watches = fields.rest() == "1";
    if (*slot == state_.myslot) {
        state_.justWatching = watches;
        Q_EMIT justWatchingChanged(watches);
    }
    Q_EMIT systemLine(roster_.row(*slot).name
        + (watches ? QStringLiteral(" is just watching") : QStringLiteral(" is now playing again")));
    roster_.setWatching(*slot, watches);
}

void ClientDispatch::addscore(const QByteArray &rest)
{
    FieldReader fields(rest);
    const auto slot = fields.nextInt();
    if (!slot)
        return;
    const auto points = fields.nextInt();
    if (!points)
        return;
    roster_.setBonus(*slot, QStringLiteral("+") + QString::number(*points), bonusTicks);
    const auto total = fields.nextInt();
    if (!total)
        return;
    roster_.setScore(*slot, QString::number(*total));
}

void ClientDispatch::loadstats(const QByteArray &rest)
{
    FieldReader fields(rest);
    const auto slot = fields.nextInt();
    if (!slot || *slot != state_.myslot)
        return;
    // Sent only while a game is under way.
    state_.gameRunning = true;
    const auto target = fields.nextInt();
    const QByteArray seconds = fields.next();
    if (!target)
        return;
    const auto code = fields.nextInt();
    if (!code)
        return;
    const auto minimum = fields.nextInt();
    if (!minimum)
        return;
    const auto left = fields.nextInt();
    if (!left)
        return;
    const auto phase = fields.nextInt();
    if (!phase)
        return;

    // Every score pair is read before anything is shown: a broken pair drops the message.
    fields.beginList();
    while (!fields.atListEnd()) {
        const auto scored = fields.nextInt();
        if (!scored)
            return;
        const auto score = fields.nextInt();
        if (!score)
            return;
        roster_.setScore(*scored, QString::number(*score));
    }

    state_.roundLength = GameLabels::roundLength(seconds);
    state_.pixelspersecond = GameLabels::pixelsPerSecond(state_.roundLength);
    state_.playToScoreCaption = GameLabels::playToScore(QString::number(*target));
    state_.minLetters = *minimum;
    if (const auto caption = GameLabels::boardSize(*code))
        state_.boardSizeCaption = *caption;
    state_.oddboard = GameLabels::isOddBoard(*code);
    Q_EMIT gameSettingsChanged();
    Q_EMIT systemLine(GameLabels::letterMinimumLine(*minimum));

    if (*phase == 1 && *left > lateJoinMinimumSeconds && state_.myslot <= state_.maxplayers) {
        state_.secondsleft = *left;
        state_.activeslot = state_.myslot;
        sounds_.playTurnSound();
        if (flow_)
            flow_->joinRunningRound();
    }
}

void ClientDispatch::mainlist(const QByteArray &rest)
{
    const qsizetype plus = rest.indexOf('+');
    const QByteArrayView slotField = plus < 0 ? QByteArrayView(rest) : QByteArrayView(rest).first(plus);
    const auto slot = FieldReader::toInt(slotField);
    if (!slot || *slot != state_.myslot)
        return;
    QStringList words;
    if (plus >= 0) {
        for (const QByteArray &word : rest.sliced(plus + 1).split('+')) {
            if (!word.isEmpty())
                words.append(text(word));
        }
    }
    if (words == QStringList {QStringLiteral("No Words")})
        words.clear();
    Q_EMIT roundWords(words);
}

void ClientDispatch::chat(const QByteArray &rest)
{
    Q_EMIT chatReceived(text(rest));
}

void ClientDispatch::havewrongversion(const QByteArray &rest)
{
    Q_EMIT systemLine(text(rest) + QStringLiteral(" has a different version of the game then you."));
}

void ClientDispatch::wrongversion(const QByteArray &)
{
    Q_EMIT systemLine(QStringLiteral("You have a differnt version of the game then the host."));
}

void ClientDispatch::full(const QByteArray &)
{
    Q_EMIT gameFull();
}

void ClientDispatch::playasound(const QByteArray &rest)
{
    const auto line = sounds_.playasound(text(rest), [this](int slot) -> std::optional<QString> {
        if (!RosterModel::isValidSlot(slot))
            return std::nullopt;
        return roster_.row(slot).name;
    });
    if (line && line->startsWith(QLatin1StringView("0+")))
        Q_EMIT systemLine(line->sliced(2));
}

void ClientDispatch::kicking(int slot)
{
    if (state_.ishost && state_.isconnected)
        Q_EMIT send(Wire::ToHost::kickhim(state_.myslot, slot));
}

void ClientDispatch::SettoJustWatch1Click(int slot)
{
    sendJustWatch(slot, watching);
}

void ClientDispatch::UnsetJustWatch1Click(int slot)
{
    sendJustWatch(slot, playingAgain);
}

void ClientDispatch::JustWatch1Click()
{
    if (state_.myslot >= 1)
        sendJustWatch(state_.myslot, state_.justWatching ? playingAgain : watching);
}

void ClientDispatch::sendJustWatch(int slot, int mode)
{
    if (state_.isconnected && slot <= state_.maxplayers)
        Q_EMIT send(Wire::ToHost::justwatch(slot, mode));
}

QString ClientDispatch::nameInSlot(int slot) const
{
    return roster_.row(slot).name;
}

TallyRoster ClientDispatch::tallyRoster() const
{
    TallyRoster roster;
    for (int slot = 1; slot <= RosterModel::slotCount; ++slot)
        roster.names.append(nameInSlot(slot));
    roster.myslot = state_.myslot;
    return roster;
}
