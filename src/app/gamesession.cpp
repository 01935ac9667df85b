#include "gamesession.h"

#include "gamelabels.h"
#include "rostermodel.h"

#include <array>

GameSession::GameSession(QObject *parent)
    : QObject(parent)
    , roster_(new RosterModel(this))
{
    setObjectName(QStringLiteral("gamesession"));
    turntime_.setObjectName(QStringLiteral("turntime"));
    turntime_.setInterval(defaultSecondLength);
    connect(&turntime_, &QTimer::timeout, this, &GameSession::turntimeTimer);
}

TallyRoster GameSession::tallyRoster() const
{
    TallyRoster roster;
    for (int slot = 1; slot <= RosterModel::slotCount; ++slot)
        roster.names.append(roster_->row(slot).name);
    roster.myslot = state_.myslot;
    return roster;
}

QString GameSession::ownName() const
{
    if (state_.myslot < 1 || state_.myslot > state_.maxplayers)
        return QString();
    return roster_->row(state_.myslot).name;
}

void GameSession::setPlayer(const QString &playername, const QString &hostaddress)
{
    state_.playername = playername;
    state_.hostaddress = hostaddress;
    state_.loginname.clear();
}

void GameSession::takeRole(bool host)
{
    state_.loginname = state_.playername;
    state_.ishost = host;
    if (host)
        setClockPlace(ClockPlace::Start);
    else if (clockPlace_ == ClockPlace::Start)
        setClockPlace(ClockPlace::Empty);
    Q_EMIT hostingChanged(host);
}

// --- Login and roster -------------------------------------------------------------

void GameSession::sendloginfo(int slot)
{
    state_.myslot = slot;
    state_.isconnected = true;
    Q_EMIT loggedIn();
}

void GameSession::newplayerinfo(const Wire::FromHost::PlayerRecords &records)
{
    for (const Wire::FromHost::PlayerRecord &record : records.players) {
        const bool own = record.slot == state_.myslot;
        if (own) {
            addSystemLine(QStringLiteral("You are Connected."));
            Q_EMIT admitted();
        } else {
            addSystemLine(record.name + QStringLiteral(" is Connected."));
        }

        if (record.slot <= state_.maxplayers) {
            roster_->setName(record.slot, record.name);
            roster_->setWatching(record.slot, record.watching);
            roster_->setAway(record.slot, false);
            continue;
        }
        const QString entry = QString::number(record.slot) + QStringLiteral(": ") + record.name;
        if (!spies_.contains(entry) && spies_.size() < maxSpies) {
            spies_.append(entry);
            Q_EMIT spyAdded(record.slot, record.name);
        }
        addSystemLine(own ? QStringLiteral("You are spying.") : record.name + QStringLiteral(" is spying."));
    }
    if (records.complete)
        Q_EMIT playersEntered();
}

void GameSession::playerdisconnected(const Wire::FromHost::PlayerLeft &left)
{
    // The host tells a removed player so before it closes the connection.
    if (left.slot == state_.myslot && state_.myslot >= 1) {
        addSystemLine(QStringLiteral("You have been removed from the game."));
        Q_EMIT removed();
        return;
    }
    if (left.slot <= state_.maxplayers) {
        if (!RosterModel::isValidSlot(left.slot))
            return;
        if (!roster_->isWaiting(left.slot))
            addSystemLine(roster_->row(left.slot).name + QStringLiteral(" has left the room."));
        roster_->setName(left.slot, RosterModel::waiting);
        roster_->setWatching(left.slot, false);
        roster_->setAway(left.slot, false);
        return;
    }
    const QString entry = QString::number(left.slot) + QStringLiteral(": ") + left.name;
    if (spies_.removeOne(entry)) {
        addSystemLine(left.name + QStringLiteral(" has disconnected."));
        Q_EMIT spyRemoved(left.slot, left.name);
    }
}

void GameSession::justwatching(const Wire::FromHost::JustWatching &watching)
{
    if (!RosterModel::isValidSlot(watching.slot) || watching.slot > state_.maxplayers)
        return;
    const bool watches = watching.mode == Wire::WatchMode::Watch;
    if (watching.slot == state_.myslot)
        setJustWatching(watches);
    addSystemLine(roster_->row(watching.slot).name
        + (watches ? QStringLiteral(" is just watching") : QStringLiteral(" is now playing again")));
    roster_->setWatching(watching.slot, watches);
}

void GameSession::addscore(const Wire::FromHost::AddScore &score)
{
    roster_->setBonus(score.slot, QStringLiteral("+") + QString::number(score.points), bonusTicks);
    if (score.total)
        roster_->setScore(score.slot, QString::number(*score.total));
}

void GameSession::loadstats(const Wire::FromHost::LoadStats &stats)
{
    if (stats.slot != state_.myslot)
        return;
    // Sent only while a game is under way.
    state_.gameRunning = true;
    returnSawGame_ = returnSawGame_ || returning_;
    if (!stats.game)
        return;
    const Wire::FromHost::GameUnderWay &game = *stats.game;
    for (const auto &[slot, score] : game.scores)
        roster_->setScore(slot, QString::number(score));
    // A broken score pair shows nothing of the game.
    if (!game.complete)
        return;

    state_.roundLength = GameLabels::roundLength(game.roundSeconds);
    state_.pixelspersecond = GameLabels::pixelsPerSecond(state_.roundLength);
    state_.playToScoreCaption = GameLabels::playToScore(QString::number(game.target));
    state_.minLetters = game.minLetters;
    if (const auto caption = GameLabels::boardSize(game.boardCode))
        state_.boardSizeCaption = *caption;
    state_.oddboard = GameLabels::isOddBoard(game.boardCode);
    Q_EMIT gameSettingsChanged();
    Q_EMIT minLettersChanged(state_.minLetters);
    // A returning player heard the minimum when the game started.
    if (!returning_)
        addSystemLine(GameLabels::letterMinimumLine(game.minLetters));

    // Only a player the host has logged in, with a roster row, joins the round.
    if (game.phase != Wire::HostPhase::RoundRunning || game.secondsLeft <= lateJoinMinimumSeconds
        || state_.myslot < 1 || state_.myslot > state_.maxplayers) {
        // A returning player's clock may still run for a round that is over.
        if (returning_)
            stopRound();
        return;
    }
    state_.secondsleft = game.secondsLeft;
    Q_EMIT roundStarting();
    setActiveslot(state_.myslot);
    Q_EMIT roundStarted(state_.activeslot, true);
    setStatus(QStringLiteral("Click or Type a Word!"));
    showClock();
    turntime_.start();
}

void GameSession::mainlist(const Wire::FromHost::MainList &list)
{
    if (list.slot == state_.myslot)
        Q_EMIT roundWords(list.words);
}

// --- The course of a game -------------------------------------------------------

void GameSession::startthegame(const Wire::FromHost::StartGame &start)
{
    setActiveslot(0);
    turntime_.stop();
    state_.gameRunning = true;
    // The host puts every watcher back to playing when a game starts, without a
    // message: no eyes may stay on the roster.
    setJustWatching(false);
    for (int slot = 1; slot <= RosterModel::slotCount; ++slot)
        roster_->setWatching(slot, false);
    setWinnerText(QString());
    Q_EMIT gameStarting();
    clearall();
    state_.secondsleft = 0;

    if (state_.myslot <= state_.maxplayers && start.starter == ownName())
        addSystemLine(QStringLiteral("You have started a game."));
    else
        addSystemLine(start.starter + QStringLiteral(" has started a game."));

    state_.roundLength = GameLabels::roundLength(start.roundSeconds);
    state_.pixelspersecond = GameLabels::pixelsPerSecond(state_.roundLength);
    showClock();
    // The target is shown as the host wrote it: only the minimum and the board size
    // must be numbers.
    state_.playToScoreCaption = GameLabels::playToScore(start.target);
    if (start.minLetters) {
        state_.minLetters = *start.minLetters;
        Q_EMIT minLettersChanged(state_.minLetters);
    }
    if (start.boardCode) {
        if (const auto caption = GameLabels::boardSize(*start.boardCode))
            state_.boardSizeCaption = *caption;
        state_.oddboard = GameLabels::isOddBoard(*start.boardCode);
    }
    Q_EMIT gameSettingsChanged();
    if (start.minLetters)
        addSystemLine(GameLabels::letterMinimumLine(*start.minLetters));
}

void GameSession::getnextplayer(std::optional<int> slot)
{
    Q_EMIT roundStarting();
    if (!slot)
        return;
    setActiveslot(*slot);
    const bool mine = isMyTurn();
    Q_EMIT roundStarted(state_.activeslot, mine);
    setStatus(mine ? QStringLiteral("Click or Type a Word!")
                   : roster_->row(state_.activeslot).name + QStringLiteral("'s turn."));
    state_.secondsleft = state_.roundLength;
    showClock();
    turntime_.start();
}

void GameSession::turntimeTimer()
{
    --state_.secondsleft;
    if (state_.secondsleft >= 1) {
        Q_EMIT clockChanged(state_.secondsleft);
        Q_EMIT clockTicked(state_.secondsleft);
        roster_->tickBonuses();
        return;
    }
    state_.secondsleft = 0;
    Q_EMIT clockChanged(0);
    // Nothing may be entered any more: the status no longer invites a word.
    setStatus(timeIsUpText);
    setActiveslot(0);
    // Each later tick would only repeat this step.
    turntime_.stop();
}

void GameSession::timeup(const Wire::FromHost::TimeUp &scores)
{
    setStatus(QStringLiteral("Round Over. Posting Scores.."));
    setActiveslot(0);
    Q_EMIT roundEnded();
    for (const Wire::FromHost::RoundScore &score : scores.scores) {
        if (score.points > 0)
            roster_->setBonus(score.slot, QStringLiteral("+") + QString::number(score.points),
                roster_->row(score.slot).bonusTag);
        roster_->setScore(score.slot, QString::number(score.total));
    }
    if (scores.complete)
        Q_EMIT roundScored();
}

void GameSession::winner(const QString &name)
{
    const bool inRoster = state_.myslot >= 1 && state_.myslot <= state_.maxplayers;
    const QString text = inRoster && name == ownName() ? QStringLiteral("You have Won the Game!")
                                                       : name + QStringLiteral(" has Won the Game!");
    setWinnerText(text);
    setStatus(QStringLiteral("Game Over!"));
    addSystemLine(text);
    setActiveslot(0);
    if (state_.ishost)
        setClockPlace(ClockPlace::Start);
    // One game counts once, however often a host declares its winner.
    if (state_.gameRunning)
        Q_EMIT gameWon(name);
    state_.gameRunning = false;
}

void GameSession::loadboard(const QList<Wire::FromHost::BoardCell> &cells)
{
    Q_EMIT boardArrived(cells);
}

void GameSession::goodword(const Wire::FromHost::GoodWord &word)
{
    if (state_.myslot >= 1 && word.slot == state_.myslot)
        Q_EMIT wordAccepted(word.word, word.points, word.finder == Wire::Finder::First);
}

void GameSession::notvalid(const Wire::FromHost::NotValid &refusal)
{
    if (state_.myslot >= 1 && refusal.slot == state_.myslot)
        Q_EMIT wordRefused(refusal.reason, refusal.word);
}

void GameSession::chat(const QString &data)
{
    Q_EMIT chatLine(data);
}

void GameSession::havewrongversion(const QString &name)
{
    addSystemLine(name + QStringLiteral(" has a different version of the game then you."));
}

void GameSession::wrongversion()
{
    addSystemLine(QStringLiteral("You have a differnt version of the game then the host."));
}

void GameSession::full()
{
    Q_EMIT gameFull();
}

void GameSession::playasound(const QString &data)
{
    Q_EMIT chatterSound(data);
}

// --- Coming back ------------------------------------------------------------------

void GameSession::playeraway(int slot)
{
    if (!RosterModel::isValidSlot(slot) || slot == state_.myslot || roster_->isWaiting(slot))
        return;
    if (!roster_->row(slot).away)
        addSystemLine(roster_->row(slot).name + QStringLiteral(" has lost the connection."));
    roster_->setAway(slot, true);
}

void GameSession::playerback(int slot)
{
    if (!RosterModel::isValidSlot(slot) || !roster_->row(slot).away)
        return;
    roster_->setAway(slot, false);
    addSystemLine(roster_->row(slot).name + QStringLiteral(" is back."));
}

void GameSession::seats(const Wire::FromHost::Seats &taken)
{
    // Only a returning player is sent the seats; anything else is no roster.
    if (!returning_)
        return;
    std::array<bool, RosterModel::slotCount> listed {};
    for (const Wire::FromHost::SeatRecord &seat : taken.seats) {
        if (!RosterModel::isValidSlot(seat.slot))
            continue;
        listed[std::size_t(seat.slot - 1)] = true;
        roster_->setName(seat.slot, seat.name);
        roster_->setWatching(seat.slot, seat.watching);
        roster_->setAway(seat.slot, seat.away && seat.slot != state_.myslot);
        if (seat.slot == state_.myslot)
            setJustWatching(seat.watching);
    }
    // Seats given up meanwhile; a broken list leaves the others as they were.
    for (int slot = 1; taken.complete && slot <= RosterModel::slotCount; ++slot) {
        if (listed[std::size_t(slot - 1)])
            continue;
        roster_->setName(slot, RosterModel::waiting);
        roster_->setWatching(slot, false);
        roster_->setAway(slot, false);
    }
}

void GameSession::foundwords(const Wire::FromHost::FoundWords &found)
{
    if (!returning_ || found.slot != state_.myslot)
        return;
    Q_EMIT wordsRestored(found.words);
    returning_ = false;
    // The host has no game under way: whatever this window thought it had is over.
    if (!returnSawGame_) {
        state_.gameRunning = false;
        stopRound();
    }
    addSystemLine(QStringLiteral("You are back in the game."));
    if (!isMyTurn())
        setStatus(QStringLiteral("You are back in the game."));
    Q_EMIT returned();
}

void GameSession::hostclosing()
{
    Q_EMIT hostClosing();
}

void GameSession::stopRound()
{
    turntime_.stop();
    state_.secondsleft = 0;
    Q_EMIT clockChanged(0);
    setActiveslot(0);
}

void GameSession::connectionLost()
{
    setActiveslot(0);
}

void GameSession::beginReturn(int slot)
{
    returning_ = true;
    returnSawGame_ = false;
    state_.myslot = slot;
    state_.isconnected = true;
    Q_EMIT loggedIn();
}

// --- The round clock --------------------------------------------------------------

void GameSession::setSecondLength(int milliseconds)
{
    turntime_.setInterval(qMax(1, milliseconds));
}

QString GameSession::clockText(int seconds)
{
    const int s = qMax(0, seconds);
    const int rest = s % 60;
    return QStringLiteral("Time: ") + QString::number(s / 60)
        + (rest < 10 ? QStringLiteral(":0") : QStringLiteral(":")) + QString::number(rest);
}

void GameSession::showClock()
{
    Q_EMIT clockChanged(state_.secondsleft);
    setClockPlace(ClockPlace::Clock);
}

void GameSession::clearall()
{
    Q_EMIT cleared();
    roster_->clearScores();
}

// --- State with a signal ------------------------------------------------------------

void GameSession::addSystemLine(const QString &text)
{
    Q_EMIT systemLine(text);
}

void GameSession::setStatus(const QString &text)
{
    status_ = text;
    Q_EMIT statusChanged(text);
}

void GameSession::setActiveslot(int slot)
{
    state_.activeslot = slot;
    Q_EMIT turnChanged(slot, isMyTurn());
}

void GameSession::setJustWatching(bool watching)
{
    state_.justWatching = watching;
    Q_EMIT watchingChanged(watching);
}

void GameSession::setClockPlace(ClockPlace place)
{
    if (place == clockPlace_)
        return;
    clockPlace_ = place;
    Q_EMIT clockPlaceChanged(place);
}

void GameSession::setWinnerText(const QString &text)
{
    winnerText_ = text;
    Q_EMIT winnerChanged(text);
}
