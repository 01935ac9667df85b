#include "gameflow.h"

#include "boardmodel.h"
#include "clientdispatch.h"
#include "clientstate.h"
#include "fieldreader.h"
#include "gamelabels.h"
#include "gamesounds.h"
#include "playarea.h"
#include "rostermodel.h"
#include "rosterview.h"
#include "tallylist.h"
#include "wire.h"
#include "wordentry.h"
#include "wordresults.h"

#include <QAction>
#include <QLabel>
#include <QList>
#include <QPushButton>

namespace {

// Seconds left at which the clock ticks aloud, besides every second from 10 down.
constexpr int firstTick = 20;
constexpr int secondTick = 15;
constexpr int lastTicks = 10;

// The bar never reaches past the clock's own frame (rounds whose seconds do not
// divide 224 evenly would otherwise start wider than it, and a late joiner is told
// the seconds left by the host, whatever they are).
void setBarWidth(PlayArea *play, const ClientState &state)
{
    const qint64 width = qint64(state.pixelspersecond) * state.secondsleft;
    const qint64 frame = play->label_timer->width();
    play->image_timer->resize(int(qBound(qint64(0), width, frame)), play->image_timer->height());
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, colour);
    widget->setPalette(pal);
}

} // namespace

GameFlow::GameFlow(const Parts &parts, QObject *parent)
    : QObject(parent)
    , p_(parts)
{
    setObjectName(QStringLiteral("gameflow"));
    turntime_.setObjectName(QStringLiteral("turntime"));
    turntime_.setInterval(defaultSecondLength);
    connect(&turntime_, &QTimer::timeout, this, &GameFlow::turntimeTimer);
}

void GameFlow::setSecondLength(int milliseconds)
{
    turntime_.setInterval(qMax(1, milliseconds));
}

QString GameFlow::clockText(int seconds)
{
    const int s = qMax(0, seconds);
    const int rest = s % 60;
    return QStringLiteral("Time: ") + QString::number(s / 60)
        + (rest < 10 ? QStringLiteral(":0") : QStringLiteral(":")) + QString::number(rest);
}

QString GameFlow::ownName() const
{
    const ClientState &state = p_.state;
    if (state.myslot < 1 || state.myslot > state.maxplayers)
        return QString();
    return p_.roster.row(state.myslot).name;
}

void GameFlow::hideWordButtons()
{
    PlayArea *play = &p_.play;
    play->button_rotate->hide();
    play->button_send->hide();
    play->button_clear->hide();
}

void GameFlow::closeEntry()
{
    p_.state.activeslot = 0;
    p_.entry.setEntryOpen(false);
}

void GameFlow::showClock()
{
    PlayArea *play = &p_.play;
    const ClientState &state = p_.state;
    setBarWidth(play, state);
    play->label_timer->setText(clockText(state.secondsleft));
    setTextColour(play->label_timer, state.secondsleft < redBelow ? lastSecondsColour : clockColour);
    play->button_start->hide();
    play->image_timer->show();
    play->label_timer->show();
}

void GameFlow::startClock()
{
    showClock();
    turntime_.start();
}

void GameFlow::clearall()
{
    p_.play.button_clear->hide();
    p_.roster.clearScores();
    p_.entry.clearall();
}

void GameFlow::startthegame(const QByteArray &rest)
{
    ClientState &state = p_.state;
    PlayArea *play = &p_.play;
    closeEntry();
    turntime_.stop();
    state.gameRunning = true;
    play->button_start->hide();
    p_.justWatch.setChecked(false);
    state.justWatching = false;
    p_.entry.setJustWatching(false);
    // The host puts every watcher back to playing when a game starts, without a
    // message: no eyes may stay on the roster.
    for (int slot = 1; slot <= RosterModel::slotCount; ++slot)
        p_.roster.setWatching(slot, false);
    hideWordButtons();
    play->panel_winner->hide();
    Q_EMIT gameStarting();
    clearall();
    state.secondsleft = 0;

    FieldReader fields(rest);
    const QString starter = Wire::fromWire(fields.next());
    const QByteArray target = fields.next();
    const QByteArray seconds = fields.next();
    const QByteArray code = fields.next();
    const QByteArray minimum = fields.next();

    if (state.myslot <= state.maxplayers && starter == ownName())
        Q_EMIT systemLine(QStringLiteral("You have started a game."));
    else
        Q_EMIT systemLine(starter + QStringLiteral(" has started a game."));

    state.roundLength = GameLabels::roundLength(seconds);
    state.pixelspersecond = GameLabels::pixelsPerSecond(state.roundLength);
    showClock();
    p_.rosterView.showGameSettings(state);

    // The target is shown as the host wrote it: only the minimum and the board size
    // must be numbers.
    state.playToScoreCaption = GameLabels::playToScore(Wire::fromWire(target));
    p_.rosterView.showGameSettings(state);

    const auto letters = FieldReader::toInt(minimum);
    if (!letters)
        return;
    state.minLetters = *letters;
    p_.entry.setMinLetters(*letters);
    Q_EMIT minLettersChanged(*letters);
    p_.rosterView.showGameSettings(state);
    Q_EMIT systemLine(GameLabels::letterMinimumLine(*letters));

    const auto size = FieldReader::toInt(code);
    if (!size)
        return;
    if (const auto caption = GameLabels::boardSize(*size))
        state.boardSizeCaption = *caption;
    state.oddboard = GameLabels::isOddBoard(*size);
    p_.board.setOddboard(state.oddboard);
    p_.rosterView.showGameSettings(state);
}

void GameFlow::getnextplayer(const QByteArray &rest)
{
    ClientState &state = p_.state;
    WordEntry *entry = &p_.entry;
    PlayArea *play = &p_.play;

    entry->startRound(false);
    p_.results.startRound();
    Q_EMIT roundStarting();
    p_.board.clearPathOverlay();

    FieldReader fields(rest);
    const auto slot = fields.nextInt();
    if (!slot)
        return;
    state.activeslot = *slot;
    if (state.activeslot == state.myslot) {
        entry->startRound(true);
        play->label_status->setText(QStringLiteral("Click or Type a Word!"));
        p_.sounds.playTurnSound();
        play->button_rotate->show();
    } else {
        play->label_status->setText(p_.roster.row(state.activeslot).name + QStringLiteral("'s turn."));
    }
    state.secondsleft = state.roundLength;
    startClock();
}

void GameFlow::turntimeTimer()
{
    ClientState &state = p_.state;
    PlayArea *play = &p_.play;
    --state.secondsleft;
    if (state.secondsleft >= 1) {
        setBarWidth(play, state);
        setTextColour(play->label_timer, state.secondsleft < redBelow ? lastSecondsColour : clockColour);
        if (state.secondsleft == firstTick || state.secondsleft == secondTick
            || state.secondsleft <= lastTicks)
            p_.sounds.playsounds(QStringLiteral("tick"));
        play->label_timer->setText(clockText(state.secondsleft));
        p_.roster.tickBonuses();
        return;
    }
    state.secondsleft = 0;
    play->label_timer->setText(clockText(0));
    setBarWidth(play, state);
    // Nothing may be entered any more: the status no longer invites a word.
    play->label_status->setText(timeIsUpText);
    closeEntry();
    hideWordButtons();
    // Each later tick would only repeat this step.
    turntime_.stop();
}

void GameFlow::timeup(const QByteArray &rest)
{
    PlayArea *play = &p_.play;
    play->label_status->setText(QStringLiteral("Round Over. Posting Scores.."));
    hideWordButtons();
    closeEntry();
    Q_EMIT roundEnded();

    FieldReader fields(rest);
    fields.beginList();
    RosterModel *roster = &p_.roster;
    while (!fields.atListEnd()) {
        const auto slot = fields.nextInt();
        if (!slot)
            return;
        const auto points = fields.nextInt();
        if (!points)
            return;
        const auto total = fields.nextInt();
        if (!total)
            return;
        if (*points > 0)
            roster->setBonus(
                *slot, QStringLiteral("+") + QString::number(*points), roster->row(*slot).bonusTag);
        roster->setScore(*slot, QString::number(*total));
    }
    p_.sounds.playsounds(QStringLiteral("roundover"));
    p_.tally.recordRoundWords(p_.results.count());
}

void GameFlow::winner(const QByteArray &rest)
{
    ClientState &state = p_.state;
    PlayArea *play = &p_.play;
    p_.sounds.playsounds(QStringLiteral("gameover"));

    FieldReader fields(rest);
    const QString name = Wire::fromWire(fields.next());
    const bool inRoster = state.myslot >= 1 && state.myslot <= state.maxplayers;
    const QString text = inRoster && name == ownName() ? QStringLiteral("You have Won the Game!")
                                                       : name + QStringLiteral(" has Won the Game!");
    play->setWinnerText(text);
    play->label_status->setText(QStringLiteral("Game Over!"));
    Q_EMIT systemLine(text);
    play->panel_winner->show();
    play->panel_winner->raise();
    closeEntry();
    hideWordButtons();
    if (state.ishost) {
        play->image_timer->hide();
        play->label_timer->hide();
        play->button_start->show();
    }
    // One game counts once, however often a host declares its winner.
    if (inRoster && state.gameRunning)
        p_.tally.addgame(name, p_.dispatch.tallyRoster());
    if (state.gameRunning)
        Q_EMIT gameWon();
    state.gameRunning = false;
}

void GameFlow::loadboard(const QByteArray &rest)
{
    QList<BoardModel::Triple> triples;
    FieldReader fields(rest);
    fields.beginList();
    while (!fields.atListEnd()) {
        const auto x = fields.nextInt();
        if (!x)
            break;
        const auto y = fields.nextInt();
        if (!y)
            break;
        const auto code = fields.nextInt();
        if (!code)
            break;
        triples.append({*x, *y, *code});
    }
    p_.board.loadboard(triples);
}

void GameFlow::goodword(const QByteArray &rest)
{
    p_.results.goodword(rest);
}

void GameFlow::notvalid(const QByteArray &rest)
{
    p_.results.notvalid(rest);
}

void GameFlow::joinRunningRound()
{
    PlayArea *play = &p_.play;
    p_.results.startRound();
    Q_EMIT roundStarting();
    p_.entry.startRound(true);
    play->label_status->setText(QStringLiteral("Click or Type a Word!"));
    play->button_rotate->show();
    startClock();
}
