#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>

// The seconds until the next round, between two rounds of a game, for the player's
// window: counted from the host's round end ("CMD_timeup") to the next round's start.
// The pause is the host's own choice and travels nowhere: a window that hosts the
// game knows it, any other window learns it from the game's last pause (from a round
// end to the next round), so at another host the first pause has no count, only the
// word that the next round is coming. A count that runs out before the round comes
// says the same.
//
// Seconds are `secondLength` milliseconds of `clock` (tests shorten both); the timer
// runs only between rounds.
class NextRoundCountdown : public QObject
{
    Q_OBJECT

public:
    using Clock = std::function<qint64()>; // milliseconds, monotonic
    using KnownPause = std::function<std::optional<int>()>; // seconds, where this window knows it

    explicit NextRoundCountdown(KnownPause knownPause, Clock clock = {}, QObject *parent = nullptr);

    void setSecondLength(int milliseconds);

    // The host ended a round (the game may still end with it: gameEnded()).
    void roundEnded();
    // A round started, or this player joined one under way.
    void roundStarted();
    // The game was won, or a new one starts: no next round to count to.
    void gameEnded();

    // What the count says now; empty when it is not counting.
    QString text() const { return text_; }
    bool isCounting() const { return timer_.isActive(); }
    // One tick of the count (the timer's, once a second).
    void tick();

    static QString textFor(std::optional<int> secondsLeft);

Q_SIGNALS:
    // The count's text changed; empty once it stops.
    void textChanged(const QString &text);

private:
    void show(const QString &text);

    KnownPause knownPause_;
    Clock clock_;
    QTimer timer_;
    int secondLength_ = 1000;
    std::optional<qint64> endedAt_;
    std::optional<int> pause_; // the pause counted down now
    std::optional<int> learned_; // the length of the last pause seen
    QString text_;
};
