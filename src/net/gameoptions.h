#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>

#include <span>

// One board-size choice of the game options dialog. `code` is what the host receives
// and what the settings store; it is not the side length (5X5 is code 9).
struct BoardSizeChoice
{
    const char *caption; // "4X4" ... "Random"
    int code; // 4 to 11
    int side; // squares per side; 0 for "Random"
};

// The four choices of a new game, with the dialog's ranges and code tables.
struct GameOptions
{
    static constexpr int scoreMinimum = 0;
    static constexpr int scoreMaximum = 10000;
    static constexpr int scoreStep = 100;
    static constexpr int roundTimeMinimum = 45;
    static constexpr int roundTimeMaximum = 180;
    static constexpr int roundTimeStep = 5;
    static constexpr int minLettersLowest = 3;
    static constexpr int minLettersHighest = 7;
    static constexpr int randomSizeCode = 8;

    // The dialog's starting values, before any settings are restored.
    int playToScore = 100;
    int roundTime = 60;
    int sizeCode = 7;
    int minLetters = 4;

    // The eight board sizes in the order they stand on screen: the left column
    // (4X4 to 7X7), then the right column (8X8, 9X9, 10X10, Random).
    static std::span<const BoardSizeChoice> boardSizes();
    // The choice carrying `code`, or nullptr when no choice does.
    static const BoardSizeChoice *boardSizeForCode(int code);

    static int clampPlayToScore(int value);
    static int clampRoundTime(int value);

    // The six fields that follow "CMD_startgame": the starter's name, the target
    // score, the round seconds, the size code, the minimum length and the constant "0".
    QStringList startGameFields(const QString &playername) const;

    friend bool operator==(const GameOptions &, const GameOptions &) = default;
};

Q_DECLARE_METATYPE(GameOptions)
