#pragma once

#include "outgoingmessage.h"

#include <QColor>
#include <QString>

#include <array>
#include <optional>

// The nine quick-phrase buttons' phrases and their throttle: after a phrase is sent,
// the next one is accepted only after more than 100 ticks.
class QuickPhrases
{
public:
    static constexpr int count = 9;
    static constexpr int longestPhrase = 50;
    static constexpr int ticksToRelease = 101;

    // The settings key of phrase `k` (1..9): "Phrase1".."Phrase9".
    static QString settingsKey(int k);
    // The built-in phrase of button `k` (1..9): "Way To Go!" ... "Good Game Everyone!".
    static QString builtinPhrase(int k);

    QuickPhrases();

    // Phrase of button `k` (1..9); empty outside.
    QString phrase(int k) const;
    void setPhrase(int k, const QString &text);
    // Sets phrase `k` from the settings: an empty value keeps the current phrase.
    void loadPhrase(int k, const QString &value);

    // Button `k` clicked: "CMD_action" with the slot and "says: " phrase "|" colour, or
    // for a phrase beginning "/me ", the rest after those four characters. Nothing while
    // the throttle holds (the click is dropped, not queued).
    std::optional<OutgoingMessage> b_phrase1Click(int k, int myslot, const QColor &colour);

    // One tick of the throttle.
    void tick();

    bool phraseready() const { return phraseready_; }
    int phraseticks() const { return phraseticks_; }

private:
    std::array<QString, count> phrases_;
    bool phraseready_ = true;
    int phraseticks_ = 0;
};
