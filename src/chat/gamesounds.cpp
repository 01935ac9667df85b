#include "gamesounds.h"

#include "chattersounds.h"
#include "soundplayer.h"

QStringList GameSounds::gameSounds()
{
    return {QStringLiteral("CLEAR"), QStringLiteral("CLICK"), QStringLiteral("ENTERED"),
        QStringLiteral("GAMEOVER"), QStringLiteral("GOODWORD"), QStringLiteral("INVALID"),
        QStringLiteral("ROTATE"), QStringLiteral("ROUNDOVER"), QStringLiteral("SENDWORD"),
        QStringLiteral("TICK"), QStringLiteral("TURN"), QStringLiteral("TURNNEW")};
}

QStringList GameSounds::builtinSounds()
{
    QStringList names = gameSounds();
    for (int i = 1; i <= ChatterSounds::count; ++i)
        names.append(QStringLiteral("WAVE") + QString::number(i));
    return names;
}

GameSounds::GameSounds(SoundPlayer *player)
    : player_(player)
{ }

bool GameSounds::switchFromSetting(const QString &value)
{
    return value != QLatin1String("false");
}

QString GameSounds::settingFromSwitch(bool on)
{
    return on ? QStringLiteral("true") : QStringLiteral("false");
}

GameSounds::TurnSound GameSounds::turnSoundFromSetting(const QString &value)
{
    return value == QLatin1String("1") ? New : Classic;
}

QString GameSounds::settingFromTurnSound(TurnSound choice)
{
    return choice == New ? QStringLiteral("1") : QStringLiteral("0");
}

void GameSounds::playsounds(const QString &name)
{
    if (playSounds_ && player_)
        player_->play(name);
}

void GameSounds::playTurnSound()
{
    playsounds(turnSound_ == New ? QStringLiteral("turnnew") : QStringLiteral("turn"));
}

std::optional<QString> GameSounds::playasound(
    const QString &data, const std::function<std::optional<QString>(int slot)> &nameOfSlot)
{
    const qsizetype first = data.indexOf(QLatin1Char('+'));
    const qsizetype second = first < 0 ? -1 : data.indexOf(QLatin1Char('+'), first + 1);
    const QString soundName
        = first < 0 ? QString() : data.mid(first + 1, second < 0 ? -1 : second - first - 1);

    // Where nothing can be heard, the sound is told in the chat as when it is off.
    if (playChatterSounds_ && player_ && player_->canPlay()) {
        if (first >= 0)
            player_->play(soundName);
        return std::nullopt;
    }

    bool ok = false;
    const int slot = data.left(first).toInt(&ok);
    if (first < 0 || !ok)
        return std::nullopt;
    const auto caption = ChatterSounds::captionOfSound(soundName);
    const auto name = nameOfSlot ? nameOfSlot(slot) : std::nullopt;
    if (!caption || !name)
        return std::nullopt;
    return QStringLiteral("0+") + *name + QStringLiteral(": <Chatter Sound> ") + *caption;
}
