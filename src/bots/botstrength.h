#pragma once

#include <QString>

#include <optional>

// How well a computer player plays. Everything that tells the strengths apart is one
// row of numbers here; the brain reads nothing else.
struct BotStrength
{
    enum Level { Easy, Medium, Hard };

    Level level = Medium;
    // Steady pace once words are in sight: the mean gap between claims is 60 s / this.
    double wordsPerMinute = 0;
    // The longest word, in tiles, it ever claims.
    int longestWord = 0;
    // The chance that it knows a word of the round's minimum length...
    double knownShare = 0;
    // ...multiplied by this for every letter beyond the minimum.
    double longWordKeep = 0;
    // Mean seconds of looking before a word of the minimum length is spotted; every
    // letter beyond the minimum adds lookLetterSeconds to that mean.
    double lookSeconds = 0;
    double lookLetterSeconds = 0;
    // From the start of the round until it can send anything at all.
    int reactionMs = 0;
    // The least time, per letter, to trace a word on the board and send it.
    int msPerLetter = 0;

    // Never more than one claim in this time, whatever the strength.
    static constexpr int minClaimGapMs = 1000;

    static const BotStrength &of(Level level);
    // "easy", "medium" or "hard" (any letter case); nothing for anything else.
    static std::optional<Level> levelFromName(const QString &name);
    // "easy", "medium" or "hard".
    static QString nameOf(Level level);
    // "Easy", "Medium" or "Hard", for menus.
    static QString captionOf(Level level);
};
