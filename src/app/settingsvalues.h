#pragma once

#include <QColor>
#include <QRect>
#include <QString>

#include <array>

// The player's preferences and the windows' places, as the program holds them
// while it runs. The member initialisers are the state before the settings file
// has been read; the k...Default constants are what an absent key gives.
struct SettingsValues
{
    static constexpr int phraseCount = 9;
    static constexpr int defaultWidth = 775;
    static constexpr int defaultHeight = 590;
    static constexpr int defaultLeft = 3;
    static constexpr int defaultTop = 3;

    static constexpr int wordsListTopDefault = 98;
    static constexpr int wordsListLeftDefault = 42;
    static constexpr int textSizeDefault = 8;
    static constexpr int playToScoreDefault = 30;
    static constexpr int boardSizeDefault = 7;
    static constexpr int minLettersDefault = 4;
    static constexpr int timePerTurnDefault = 1;
    static constexpr int timeBetweenRoundsDefault = 10;

    // The options dialog's fallbacks for a stored choice that names no option:
    // "Random" board size and 3 letters.
    static constexpr int boardSizeFallback = 8;
    static constexpr int minLettersFallback = 3;

    // The limits the options dialog's number boxes keep.
    static constexpr int playToScoreMin = 0;
    static constexpr int playToScoreMax = 10000;
    static constexpr int timePerTurnMin = 45;
    static constexpr int timePerTurnMax = 180;

    // Chat text sizes outside this range are not applied.
    static constexpr int textSizeMin = 6;
    static constexpr int textSizeMax = 72;

    static inline const std::array<QString, phraseCount> builtinPhrases {
        QStringLiteral("Way To Go!"),
        QStringLiteral("Good One!"),
        QStringLiteral("Nice Try!"),
        QStringLiteral("Excellent!"),
        QStringLiteral("Brilliant!"),
        QStringLiteral("Wow, WTG!"),
        QStringLiteral("Thanks!"),
        QStringLiteral("Way To Go Teamie!"),
        QStringLiteral("Good Game Everyone!"),
    };
    static constexpr int phraseMaxLength = 50;

    // The main window's frame position and size.
    QRect window {defaultLeft, defaultTop, defaultWidth, defaultHeight};
    int wordsListTop = wordsListTopDefault;
    int wordsListLeft = wordsListLeftDefault;
    int textSize = 10;
    QColor textColor = QColor(0, 0, 0);
    int playToScore = 100;
    int timePerTurn = 60;
    int boardSize = boardSizeDefault; // board-size code 4 to 11
    int minLetters = minLettersDefault;
    int timeBetweenRounds = timeBetweenRoundsDefault; // 60, 15, 10 or 5 seconds
    int turnSound = 0; // 0 "Classic", 1 "New"
    int clickLetters = 1; // the menu item's tag: 1 unchecked (drag), 0 checked
    int disableTyping = 1; // the menu item's tag: 1 unchecked (typing allowed), 0 checked
    std::array<QString, phraseCount> phrases = builtinPhrases;
    bool playSounds = true;
    bool chatterSounds = false;
    bool speakAnnouncements = false; // the game's news spoken aloud; off unless chosen
    QString tiles; // tile group in use; empty or "classic" for the built-in one

    bool operator==(const SettingsValues &) const = default;
};
