#include "nextroundcountdown.h"

#include <QElapsedTimer>

#include <cmath>
#include <memory>

namespace {

// The host's pauses: "Quick" to what wendlewick-host takes at most.
constexpr int shortestPause = 1;
constexpr int longestPause = 3600;

} // namespace

NextRoundCountdown::NextRoundCountdown(KnownPause knownPause, Clock clock, QObject *parent)
    : QObject(parent)
    , knownPause_(std::move(knownPause))
    , clock_(std::move(clock))
{
    if (!clock_) {
        auto elapsed = std::make_shared<QElapsedTimer>();
        elapsed->start();
        clock_ = [elapsed] { return elapsed->elapsed(); };
    }
    timer_.setInterval(secondLength_);
    connect(&timer_, &QTimer::timeout, this, &NextRoundCountdown::tick);
}

void NextRoundCountdown::setSecondLength(int milliseconds)
{
    secondLength_ = qMax(1, milliseconds);
    timer_.setInterval(secondLength_);
}

QString NextRoundCountdown::textFor(std::optional<int> secondsLeft)
{
    if (!secondsLeft || *secondsLeft < 1)
        return QStringLiteral("The next round starts soon.");
    if (*secondsLeft == 1)
        return QStringLiteral("Next round in 1 second.");
    return QStringLiteral("Next round in %1 seconds.").arg(*secondsLeft);
}

void NextRoundCountdown::roundEnded()
{
    endedAt_ = clock_();
    pause_ = knownPause_ ? knownPause_() : std::nullopt;
    if (!pause_)
        pause_ = learned_;
    // The round's end shows its own status first; the count begins a second later.
    timer_.start();
}

void NextRoundCountdown::roundStarted()
{
    if (endedAt_) {
        const double seconds = double(clock_() - *endedAt_) / secondLength_;
        learned_ = qBound(shortestPause, int(std::lround(seconds)), longestPause);
    }
    gameEnded();
}

void NextRoundCountdown::gameEnded()
{
    endedAt_.reset();
    pause_.reset();
    timer_.stop();
    show(QString());
}

void NextRoundCountdown::tick()
{
    if (!endedAt_)
        return;
    std::optional<int> left;
    if (pause_)
        left = *pause_ - int(std::lround(double(clock_() - *endedAt_) / secondLength_));
    show(textFor(left));
}

void NextRoundCountdown::show(const QString &text)
{
    if (text == text_)
        return;
    text_ = text;
    Q_EMIT textChanged(text_);
}
