#include "qtsoundplayer.h"

#include "gamesounds.h"

#include <QApplication>
#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

QtSoundPlayer::QtSoundPlayer(QObject *parent, Alert alert)
    : QObject(parent)
    , alert_(alert ? std::move(alert) : Alert([] { QApplication::beep(); }))
    , devices_(new QMediaDevices(this))
{
    // Effects are bound to the output they were made for; a new default output
    // means new effects.
    connect(devices_, &QMediaDevices::audioOutputsChanged, this, &QtSoundPlayer::dropEffects);
    // Game sounds follow clicks and keys: load them before they are first needed.
    QTimer::singleShot(0, this, [this] { preload(GameSounds::gameSounds()); });
}

void QtSoundPlayer::preload(const QStringList &names)
{
    if (!hasAudioOutput())
        return;
    for (const QString &name : names) {
        if (!clipResource(name).isEmpty())
            effectFor(name.toUpper());
    }
}

QtSoundPlayer::~QtSoundPlayer() = default;

QString QtSoundPlayer::clipResource(const QString &name)
{
    // Only plain names: a peer's text never reaches other resources.
    if (name.isEmpty() || name.size() > 16)
        return {};
    for (const QChar c : name) {
        if (!((c >= QLatin1Char('a') && c <= QLatin1Char('z'))
                || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
                || (c >= QLatin1Char('0') && c <= QLatin1Char('9'))))
            return {};
    }
    const QString path = QStringLiteral(":/sounds/") + name.toUpper() + QStringLiteral(".wav");
    return QFile::exists(path) ? path : QString();
}

bool QtSoundPlayer::hasAudioOutput()
{
    return !QMediaDevices::audioOutputs().isEmpty();
}

void QtSoundPlayer::play(const QString &name)
{
    const QString resource = clipResource(name);
    if (resource.isEmpty()) {
        alert_();
        return;
    }
    if (current_)
        current_->stop();
    current_ = nullptr;
    currentName_ = name.toUpper();
    if (!hasAudioOutput())
        return;
    current_ = effectFor(currentName_);
    current_->play();
}

QSoundEffect *QtSoundPlayer::effectFor(const QString &key)
{
    QSoundEffect *&effect = effects_[key];
    if (!effect) {
        effect = new QSoundEffect(QMediaDevices::defaultAudioOutput(), this);
        effect->setSource(QUrl(QStringLiteral("qrc:/sounds/") + key + QStringLiteral(".wav")));
    }
    return effect;
}

void QtSoundPlayer::dropEffects()
{
    const QStringList loaded = effects_.keys();
    for (QSoundEffect *effect : std::as_const(effects_)) {
        effect->stop();
        effect->deleteLater();
    }
    effects_.clear();
    current_ = nullptr;
    preload(loaded);
}
