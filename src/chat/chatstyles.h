#pragma once

#include <QColor>
#include <QString>

#include <array>

// One text style of the chat view.
struct ChatStyle
{
    QString family;
    int size = 10;
    QColor colour;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const ChatStyle &) const = default;
};

// The chat view's fifteen text styles. A line's colour lives in its style, so a new
// line from a player recolours every earlier line of that player.
//
//   style 0        system lines (code 0 and below)
//   style 3        watchers (codes above 10)
//   style 4        links
//   style 5        player slot 10
//   styles 6..14   player slots 1..9
class ChatStyles
{
public:
    static constexpr int count = 15;
    static constexpr int systemStyle = 0;
    static constexpr int watcherStyle = 3;
    static constexpr int linkStyle = 4;
    static constexpr int lastSlotStyle = 5;
    static constexpr int smallestSize = 6;
    static constexpr int largestSize = 72;

    // `windowText` is the starting colour of the styles of slots 3 to 9.
    explicit ChatStyles(const QColor &windowText = Qt::black);

    // The style of a line coded `code`; always inside the table.
    static int styleForCode(int code);

    const ChatStyle &style(int index) const;

    // Gives the style `index` the colour of its newest line and makes it bold.
    // Returns whether the style changed (so earlier lines need repainting).
    bool setLineColour(int index, const QColor &colour);

    // Sets the size of every style, kept within smallestSize..largestSize.
    // Returns whether it changed.
    bool setSize(int size);
    int size() const { return styles_[0].size; }

private:
    std::array<ChatStyle, count> styles_;
};
