#include "mainsettings.h"

#include "chatpanel.h"
#include "gamesounds.h"
#include "mainmenus.h"
#include "phrasebar.h"
#include "soundoptions.h"
#include "tgamestart.h"
#include "tilegroups.h"
#include "wordentry.h"

#include <QAction>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>

namespace {

constexpr int closeShrinkStep = 15;
// "Reset Screen Location" puts the words list window here.
constexpr QPoint wordsListResetPlace(52, 108);

} // namespace

MainSettings::MainSettings(const QString &path, const Parts &parts, QObject *parent)
    : QObject(parent)
    , p_(parts)
    , file_(path)
    , places_(&parts.window)
{
    connect(&p_.soundOptions, &SoundOptions::settingsChanged, this, &MainSettings::saveinifile);
    connect(&p_.chat, &ChatPanel::settingsChanged, this, &MainSettings::saveinifile);
    connect(&p_.gamestart, &Tgamestart::startRequested, this, &MainSettings::saveinifile);
    connect(&p_.menus, &MainMenus::timeBetweenRoundsChosen, this, [this](int seconds) {
        settings_.timeBetweenRounds = seconds;
        saveinifile();
    });
    // Each option's tag: 1 unchecked, 0 checked.
    connect(&p_.menus, &MainMenus::clickLettersChanged, this, [this](int tag) {
        settings_.clickLetters = tag;
        p_.entry.setClickLetters(tag == 0);
        saveinifile();
    });
    connect(&p_.menus, &MainMenus::disableTypingChanged, this, [this](int tag) {
        settings_.disableTyping = tag;
        p_.entry.setDisableTyping(tag == 0);
        saveinifile();
    });
    connect(&p_.entry, &WordEntry::saveRequested, this, [this] {
        settings_.clickLetters = p_.entry.clickLetters() ? 0 : 1;
        settings_.disableTyping = p_.entry.disableTyping() ? 0 : 1;
        p_.menus.showSettings(settings_);
        saveinifile();
    });
    connect(&p_.speakAnnouncements, &QAction::triggered, this, &MainSettings::saveinifile);
    connect(&p_.tiles, &TileGroups::saveRequested, this, [this] {
        settings_.tiles = p_.tiles.settingValue();
        saveinifile();
    });
}

void MainSettings::collectSettings()
{
    settings_.window = places_.windowBounds();
    settings_.textSize = p_.chat.textSize();
    settings_.textColor = p_.chat.chatColour();
    settings_.playSounds = p_.sounds.playSounds();
    settings_.chatterSounds = p_.sounds.playChatterSounds();
    settings_.speakAnnouncements = p_.speakAnnouncements.isChecked();
    settings_.turnSound = p_.sounds.turnSound();
    settings_.playToScore = p_.gamestart.playToScore();
    settings_.timePerTurn = p_.gamestart.roundTime();
    settings_.boardSize = p_.gamestart.sizeCode();
    settings_.minLetters = p_.gamestart.minLetters();
    for (int k = 1; k <= SettingsValues::phraseCount; ++k)
        settings_.phrases[std::size_t(k - 1)] = p_.phrases.phrases().phrase(k);
    if (places_.hasWordsList()) {
        const QPoint place = places_.wordsListPlace();
        settings_.wordsListLeft = place.x();
        settings_.wordsListTop = place.y();
    }
}

void MainSettings::loadinifile()
{
    collectSettings();
    settings_ = file_.load(settings_);
    if (!file_.hasBeenRead())
        return;
    // Read again after admission, the stored place must not undo a move the player
    // made in the meantime.
    if (!boundsApplied_ || places_.windowBounds() == rememberedBounds_) {
        places_.applyWindowBounds(settings_.window);
        boundsApplied_ = true;
    }
    rememberedBounds_ = places_.windowBounds();
    applySettings();
}

void MainSettings::applySettings()
{
    p_.menus.showSettings(settings_);
    p_.entry.setClickLetters(settings_.clickLetters != 1);
    p_.entry.setDisableTyping(settings_.disableTyping != 1);
    if (settings_.tiles != p_.tiles.settingValue())
        p_.tiles.applySetting(settings_.tiles);
    for (int k = 1; k <= SettingsValues::phraseCount; ++k)
        p_.phrases.loadPhrase(k, settings_.phrases[std::size_t(k - 1)]);
    p_.chat.setTextSize(settings_.textSize);
    p_.chat.setChatColour(settings_.textColor);
    p_.sounds.setPlaySounds(settings_.playSounds);
    p_.sounds.setPlayChatterSounds(settings_.chatterSounds);
    p_.speakAnnouncements.setChecked(settings_.speakAnnouncements);
    p_.sounds.setTurnSound(settings_.turnSound == 1 ? GameSounds::New : GameSounds::Classic);
    p_.soundOptions.refresh();
    p_.gamestart.setPlayToScore(settings_.playToScore);
    p_.gamestart.setRoundTime(settings_.timePerTurn);
    p_.gamestart.clicksize(QStringLiteral("image_size") + QString::number(settings_.boardSize));
    p_.gamestart.clickmin(QStringLiteral("image_min") + QString::number(settings_.minLetters));
    placeWordsList();
}

void MainSettings::saveinifile()
{
    collectSettings();
    file_.save(settings_);
}

void MainSettings::setPhrases(const QStringList &phrases)
{
    for (int k = 1; k <= SettingsValues::phraseCount; ++k) {
        const QString phrase
            = k <= phrases.size() ? phrases.at(k - 1).left(SettingsValues::phraseMaxLength) : QString();
        settings_.phrases[std::size_t(k - 1)] = phrase;
        p_.phrases.setPhrase(k, phrase);
    }
    file_.savePhrases(settings_);
}

void MainSettings::setWordsListWindow(QWidget *window)
{
    places_.setWordsList(window);
    placeWordsList();
}

void MainSettings::placeWordsList()
{
    if (!places_.hasWordsList())
        return;
    const QRect stored(QPoint(settings_.wordsListLeft, settings_.wordsListTop), places_.wordsListSize());
    if (!WindowPlaces::gripOnScreen(stored)) {
        // Stored for another desktop: the window would open where nobody sees it.
        settings_.wordsListLeft = SettingsValues::wordsListLeftDefault;
        settings_.wordsListTop = SettingsValues::wordsListTopDefault;
    }
    places_.moveWordsList(QPoint(settings_.wordsListLeft, settings_.wordsListTop));
}

void MainSettings::ResetScreenLocation1Click()
{
    settings_.wordsListTop = wordsListResetPlace.y();
    settings_.wordsListLeft = wordsListResetPlace.x();
    if (places_.hasWordsList())
        places_.moveWordsList(wordsListResetPlace);
    QMainWindow &window = p_.window;
    if (window.isMaximized() || window.isMinimized() || window.isFullScreen())
        window.showNormal();
    window.move(SettingsValues::defaultLeft, SettingsValues::defaultTop);
    window.resize(SettingsValues::defaultWidth, SettingsValues::defaultHeight);
}

void MainSettings::FormClose()
{
    QMainWindow &window = p_.window;
    const QRect bounds = places_.windowBounds();
    if (bounds != rememberedBounds_) {
        const QScreen *shownOn = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
        if (shownOn) {
            const QRect work = shownOn->availableGeometry();
            const QSize frame = window.frameGeometry().size();
            QSize wanted = bounds.size();
            if (frame.width() > work.width())
                wanted.rwidth() -= closeShrinkStep;
            if (frame.height() > work.height())
                wanted.rheight() -= closeShrinkStep;
            if (wanted != bounds.size())
                window.resize(wanted);

            QPoint list(settings_.wordsListLeft, settings_.wordsListTop);
            if (places_.hasWordsList())
                list = places_.wordsListPlace();
            const QSize listSize = places_.wordsListSize();
            const int workRight = work.x() + work.width();
            const int workBottom = work.y() + work.height();
            if (list.x() > workRight)
                list.setX(workRight - listSize.width());
            if (list.y() > workBottom)
                list.setY(workBottom - listSize.height());
            settings_.wordsListLeft = list.x();
            settings_.wordsListTop = list.y();
            if (places_.hasWordsList())
                places_.moveWordsList(list);
        }
        rememberedBounds_ = places_.windowBounds();
    }
    saveinifile();
}
