#pragma once

#include <QColor>
#include <QString>

#include <optional>
#include <vector>

// What the player's own checks decided about a finished word, for the main window and
// the words panel to carry out: the status text, the words-panel line, the sound and
// whether to send the claim. Nothing here has been shown, played or sent yet.
struct Verdict
{
    enum class Row {
        Nothing, // the word was empty, or entry is closed: nothing to do
        TooFewLetters, // one or two letters
        BelowMinimum, // shorter than the game's minimum
        AlreadyFound, // tried before in this round
        NotAWord, // not in the word list
        Passed, // passed every check; sent when connected
    };

    // One tile of the claim in the host's orientation: the board's first index (row)
    // and second index (column), as "CMD_playerdone" carries them.
    struct Tile
    {
        int row = 0;
        int col = 0;
        friend bool operator==(const Tile &, const Tile &) = default;
    };

    static inline const QString notEnoughLetters = QStringLiteral("Not enough letters.");
    static inline const QString alreadyFound = QStringLiteral("You have already found that word.");
    static inline const QString invalidWord = QStringLiteral("Invalid Word.");
    static inline const QColor orange = QColor(255, 128, 0);
    static inline const QColor maroon = QColor(128, 0, 0);
    static inline const QColor black = QColor(0, 0, 0);

    Row row = Row::Nothing;
    QString word; // lower case, as the board spells it
    std::optional<QString> status; // new text of label_status; nullopt leaves it
    std::optional<QColor> panelColour; // a words-panel line of `word` in this colour
    QString sound; // game sound to play; empty for none
    bool send = false; // send "CMD_playerdone" with `claim`
    std::vector<Tile> claim; // the word's tiles, first letter first

    // The judging table, first matching row wins. `letters` is the number of tiles.
    static Verdict judge(
        const QString &word, int letters, int minletters, bool alreadyTried, bool isWord, bool connected);
};
