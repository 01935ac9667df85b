#include "gameflow.h"

#include "boardmodel.h"
#include "clientdispatch.h"
#include "fieldreader.h"
#include "gamelabels.h"
#include "mainmenus.h"
#include "playarea.h"
#include "rostermodel.h"
#include "rosterview.h"
#include "tallylist.h"
#include "tchat.h"
#include "ttallylist.h"
#include "twordslist.h"
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

GameFlow::GameFlow(Tchat &chat)
    : QObject(&chat)
    , chat_(chat)
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
    const ClientState &state = chat_.state();
    if (state.myslot < 1 || state.myslot > state.maxplayers)
        return QString();
    return chat_.roster()->row(state.myslot).name;
}

void GameFlow::hideWordButtons()
{
    PlayArea *play = chat_.playArea();
    play->button_rotate->hide();
    play->button_send->hide();
    play->button_clear->hide();
}

void GameFlow::closeEntry()
{
    chat_.state().activeslot = 0;
    chat_.wordEntry()->setEntryOpen(false);
}

void GameFlow::showClock()
{
    PlayArea *play = chat_.playArea();
    const ClientState &state = chat_.state();
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
    chat_.playArea()->button_clear->hide();
    chat_.roster()->clearScores();
    chat_.wordEntry()->clearall();
}

void GameFlow::startthegame(const QByteArray &rest)
{
    ClientState &state = chat_.state();
    PlayArea *play = chat_.playArea();
    closeEntry();
    turntime_.stop();
    state.gameRunning = true;
    play->button_start->hide();
    chat_.menus()->JustWatch1->setChecked(false);
    state.justWatching = false;
    chat_.wordEntry()->setJustWatching(false);
    // The host puts every watcher back to playing when a game starts, without a
    // message: no eyes may stay on the roster.
    for (int slot = 1; slot <= RosterModel::slotCount; ++slot)
        chat_.roster()->setWatching(slot, false);
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
        chat_.addSystemLine(QStringLiteral("You have started a game."));
    else
        chat_.addSystemLine(starter + QStringLiteral(" has started a game."));

    state.roundLength = GameLabels::roundLength(seconds);
    state.pixelspersecond = GameLabels::pixelsPerSecond(state.roundLength);
    showClock();
    chat_.rosterView()->showGameSettings(state);

    // The target is shown as the host wrote it: only the minimum and the board size
    // must be numbers.
    state.playToScoreCaption = GameLabels::playToScore(Wire::fromWire(target));
    chat_.rosterView()->showGameSettings(state);

    const auto letters = FieldReader::toInt(minimum);
    if (!letters)
        return;
    state.minLetters = *letters;
    chat_.wordEntry()->setMinLetters(*letters);
    chat_.wordsList()->setMinLetters(*letters);
    chat_.rosterView()->showGameSettings(state);
    chat_.addSystemLine(GameLabels::letterMinimumLine(*letters));

    const auto size = FieldReader::toInt(code);
    if (!size)
        return;
    if (const auto caption = GameLabels::boardSize(*size))
        state.boardSizeCaption = *caption;
    state.oddboard = GameLabels::isOddBoard(*size);
    chat_.boardModel()->setOddboard(state.oddboard);
    chat_.rosterView()->showGameSettings(state);
}

void GameFlow::getnextplayer(const QByteArray &rest)
{
    ClientState &state = chat_.state();
    WordEntry *entry = chat_.wordEntry();
    PlayArea *play = chat_.playArea();

    entry->startRound(false);
    chat_.wordResults()->startRound();
    Q_EMIT roundStarting();
    chat_.boardModel()->clearPathOverlay();

    FieldReader fields(rest);
    const auto slot = fields.nextInt();
    if (!slot)
        return;
    state.activeslot = *slot;
    if (state.activeslot == state.myslot) {
        entry->startRound(true);
        play->label_status->setText(QStringLiteral("Click or Type a Word!"));
        chat_.sounds().playTurnSound();
        play->button_rotate->show();
    } else {
        play->label_status->setText(chat_.roster()->row(state.activeslot).name + QStringLiteral("'s turn."));
    }
    state.secondsleft = state.roundLength;
    startClock();
}

void GameFlow::turntimeTimer()
{
    ClientState &state = chat_.state();
    PlayArea *play = chat_.playArea();
    --state.secondsleft;
    if (state.secondsleft >= 1) {
        setBarWidth(play, state);
        setTextColour(play->label_timer, state.secondsleft < redBelow ? lastSecondsColour : clockColour);
        if (state.secondsleft == firstTick || state.secondsleft == secondTick
            || state.secondsleft <= lastTicks)
            chat_.playsounds(QStringLiteral("tick"));
        play->label_timer->setText(clockText(state.secondsleft));
        chat_.roster()->tickBonuses();
        return;
    }
    state.secondsleft = 0;
    play->label_timer->setText(clockText(0));
    setBarWidth(play, state);
    closeEntry();
    hideWordButtons();
    // Each later tick would only repeat this step.
    turntime_.stop();
}

void GameFlow::timeup(const QByteArray &rest)
{
    PlayArea *play = chat_.playArea();
    play->label_status->setText(QStringLiteral("Round Over. Posting Scores.."));
    hideWordButtons();
    closeEntry();

    FieldReader fields(rest);
    fields.beginList();
    RosterModel *roster = chat_.roster();
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
    chat_.playsounds(QStringLiteral("roundover"));
    chat_.tallylist()->tally()->recordRoundWords(chat_.wordResults()->count());
}

void GameFlow::winner(const QByteArray &rest)
{
    ClientState &state = chat_.state();
    PlayArea *play = chat_.playArea();
    chat_.playsounds(QStringLiteral("gameover"));

    FieldReader fields(rest);
    const QString name = Wire::fromWire(fields.next());
    const bool inRoster = state.myslot >= 1 && state.myslot <= state.maxplayers;
    const QString text = inRoster && name == ownName() ? QStringLiteral("You have Won the Game!")
                                                       : name + QStringLiteral(" has Won the Game!");
    play->setWinnerText(text);
    play->label_status->setText(QStringLiteral("Game Over!"));
    chat_.addSystemLine(text);
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
        chat_.tallylist()->addgame(name, chat_.dispatch()->tallyRoster());
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
    chat_.boardModel()->loadboard(triples);
}

void GameFlow::goodword(const QByteArray &rest)
{
    chat_.wordResults()->goodword(rest);
}

void GameFlow::notvalid(const QByteArray &rest)
{
    chat_.wordResults()->notvalid(rest);
}

void GameFlow::joinRunningRound()
{
    PlayArea *play = chat_.playArea();
    chat_.wordResults()->startRound();
    Q_EMIT roundStarting();
    chat_.wordEntry()->startRound(true);
    play->label_status->setText(QStringLiteral("Click or Type a Word!"));
    play->button_rotate->show();
    startClock();
}
