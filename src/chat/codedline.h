#pragma once

#include "chatitem.h"

#include <QList>
#include <QString>

#include <optional>

// A coded chat line cut into what the view shows.
//
//   code "+" head ":" body        e.g.  3+Ann chats: hi :)#12 see www.example.com
//
// The code is 0 (or less) for a system line and the slot number for a player. The
// head runs up to and including the first ":" (empty when there is none) and is shown
// as it is; the body is cut into words, links and smilies (":)#" and two digits,
// 10 to 27; anything else after ":)#" shows picture 0).
class CodedLine
{
public:
    static constexpr int smileyCount = 18;
    static constexpr int firstSmileyCode = 10;

    // Returns nothing when the code is not a decimal integer (the line is not shown).
    static std::optional<CodedLine> parse(const QString &line);

    // Appends the words of `text` (with one space added at its end) to `items`.
    // Each word runs up to and including the next space; link words become links.
    static void appendWords(const QString &text, QList<ChatItem> &items);

    int code = 0;
    int style = 0;
    QString head;
    QList<ChatItem> items;
};
