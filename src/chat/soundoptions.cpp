#include "soundoptions.h"

#include <QAction>
#include <QMenu>

SoundOptions::SoundOptions(GameSounds &sounds, QObject *parent)
    : QObject(parent)
    , m_sounds(sounds)
{
    m_playSounds = new QAction(QStringLiteral("Play Sounds"), this);
    m_playSounds->setObjectName(QStringLiteral("PlaySounds1"));
    m_playSounds->setCheckable(true);
    connect(m_playSounds, &QAction::triggered, this, &SoundOptions::PlaySounds1Click);

    m_playChatterSounds = new QAction(QStringLiteral("Play Chatter Sounds"), this);
    m_playChatterSounds->setObjectName(QStringLiteral("PlayChatterSounds1"));
    m_playChatterSounds->setCheckable(true);
    connect(m_playChatterSounds, &QAction::triggered, this, &SoundOptions::PlayChatterSounds1Click);

    m_turnSoundMenu = new QMenu(QStringLiteral("Turn Sound"));
    m_turnSoundMenu->setObjectName(QStringLiteral("TurnSound1"));
    m_classic = m_turnSoundMenu->addAction(QStringLiteral("Classic"));
    m_classic->setObjectName(QStringLiteral("Classic1"));
    m_new = m_turnSoundMenu->addAction(QStringLiteral("New"));
    m_new->setObjectName(QStringLiteral("New1"));
    int tag = 0;
    for (QAction *item : {m_classic, m_new}) {
        item->setCheckable(true);
        item->setData(tag);
        connect(item, &QAction::triggered, this, [this, tag] { Classic1Click(tag); });
        ++tag;
    }
    refresh();
}

SoundOptions::~SoundOptions()
{
    delete m_turnSoundMenu;
}

void SoundOptions::loadSettings(
    const QString &playsounds, const QString &chattersounds, const QString &turnsound)
{
    m_sounds.setPlaySounds(GameSounds::switchFromSetting(playsounds));
    m_sounds.setPlayChatterSounds(GameSounds::switchFromSetting(chattersounds));
    m_sounds.setTurnSound(GameSounds::turnSoundFromSetting(turnsound));
    refresh();
}

void SoundOptions::refresh()
{
    m_playSounds->setChecked(m_sounds.playSounds());
    m_playChatterSounds->setChecked(m_sounds.playChatterSounds());
    m_classic->setChecked(m_sounds.turnSound() == GameSounds::Classic);
    m_new->setChecked(m_sounds.turnSound() == GameSounds::New);
}

void SoundOptions::PlaySounds1Click()
{
    m_sounds.setPlaySounds(!m_sounds.playSounds());
    refresh();
    Q_EMIT settingsChanged();
}

void SoundOptions::PlayChatterSounds1Click()
{
    m_sounds.setPlayChatterSounds(!m_sounds.playChatterSounds());
    refresh();
    Q_EMIT settingsChanged();
}

void SoundOptions::Classic1Click(int tag)
{
    m_sounds.setTurnSound(tag == 1 ? GameSounds::New : GameSounds::Classic);
    refresh();
    Q_EMIT settingsChanged();
}
