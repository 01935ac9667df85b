#pragma once

#include <QString>

// One piece of a chat paragraph: a word with its trailing space, a link, or a smiley.
struct ChatItem
{
    enum Kind { Word, Link, Smiley };

    Kind kind = Word;
    QString text; // Word, Link: the word, trailing space included
    int picture = 0; // Smiley: 0..17

    bool operator==(const ChatItem &) const = default;
};
