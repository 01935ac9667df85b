#include "soundoptions.h"

#include <QAction>
#include <QMenu>

SoundOptions::SoundOptions(GameSounds &sounds, QObject *parent)
    : QObject(parent)
    , sounds_(sounds)
{
    playSounds_ = new QAction(QStringLiteral("Play Sounds"), this);
    playSounds_->setObjectName(QStringLiteral("PlaySounds1"));
    playSounds_->setCheckable(true);
    connect(playSounds_, &QAction::triggered, this, &SoundOptions::PlaySounds1Click);

    playChatterSounds_ = new QAction(QStringLiteral("Play Chatter Sounds"), this);
    playChatterSounds_->setObjectName(QStringLiteral("PlayChatterSounds1"));
    playChatterSounds_->setCheckable(true);
    connect(playChatterSounds_, &QAction::triggered, this, &SoundOptions::PlayChatterSounds1Click);

    turnSoundMenu_ = new QMenu(QStringLiteral("Turn Sound"));
    turnSoundMenu_->setObjectName(QStringLiteral("TurnSound1"));
    classic_ = turnSoundMenu_->addAction(QStringLiteral("Classic"));
    classic_->setObjectName(QStringLiteral("Classic1"));
    new_ = turnSoundMenu_->addAction(QStringLiteral("New"));
    new_->setObjectName(QStringLiteral("New1"));
    int tag = 0;
    for (QAction *item : {classic_, new_}) {
        item->setCheckable(true);
        item->setData(tag);
        connect(item, &QAction::triggered, this, [this, tag] { Classic1Click(tag); });
        ++tag;
    }
    refresh();
}

SoundOptions::~SoundOptions()
{
    delete turnSoundMenu_;
}

void SoundOptions::loadSettings(
    const QString &playsounds, const QString &chattersounds, const QString &turnsound)
{
    sounds_.setPlaySounds(GameSounds::switchFromSetting(playsounds));
    sounds_.setPlayChatterSounds(GameSounds::switchFromSetting(chattersounds));
    sounds_.setTurnSound(GameSounds::turnSoundFromSetting(turnsound));
    refresh();
}

void SoundOptions::refresh()
{
    playSounds_->setChecked(sounds_.playSounds());
    playChatterSounds_->setChecked(sounds_.playChatterSounds());
    classic_->setChecked(sounds_.turnSound() == GameSounds::Classic);
    new_->setChecked(sounds_.turnSound() == GameSounds::New);
}

void SoundOptions::PlaySounds1Click()
{
    sounds_.setPlaySounds(!sounds_.playSounds());
    refresh();
    Q_EMIT settingsChanged();
}

void SoundOptions::PlayChatterSounds1Click()
{
    sounds_.setPlayChatterSounds(!sounds_.playChatterSounds());
    refresh();
    Q_EMIT settingsChanged();
}

void SoundOptions::Classic1Click(int tag)
{
    sounds_.setTurnSound(tag == 1 ? GameSounds::New : GameSounds::Classic);
    refresh();
    Q_EMIT settingsChanged();
}
