#include "sessionsounds.h"

#include "gamesession.h"
#include "gamesounds.h"
#include "rostermodel.h"

SessionSounds::SessionSounds(GameSession &session, GameSounds &sounds, QObject *parent)
    : QObject(parent)
    , session_(session)
    , sounds_(sounds)
{
    const auto play
        = [this](const char *name) { return [this, name] { sounds_.playsounds(QLatin1StringView(name)); }; };
    connect(&session, &GameSession::playersEntered, this, play("entered"));
    connect(&session, &GameSession::roundStarted, this, [this](int, bool mine) {
        if (mine)
            sounds_.playTurnSound();
    });
    connect(&session, &GameSession::clockTicked, this, [this](int left) {
        if (left == firstTick || left == secondTick || left <= lastTicks)
            sounds_.playsounds(QStringLiteral("tick"));
    });
    connect(&session, &GameSession::roundScored, this, play("roundover"));
    connect(&session, &GameSession::winnerChanged, this, [this](const QString &text) {
        if (!text.isEmpty())
            sounds_.playsounds(QStringLiteral("gameover"));
    });
    connect(&session, &GameSession::chatterSound, this, &SessionSounds::chatterSound);
}

void SessionSounds::chatterSound(const QString &data)
{
    const RosterModel *roster = session_.roster();
    const auto line = sounds_.playasound(data, [roster](int slot) -> std::optional<QString> {
        if (!RosterModel::isValidSlot(slot))
            return std::nullopt;
        return roster->row(slot).name;
    });
    if (line && line->startsWith(QLatin1StringView("0+")))
        session_.addSystemLine(line->sliced(2));
}
