#include "chatstyles.h"

#include <algorithm>

ChatStyles::ChatStyles(const QColor &windowText)
{
    const QColor silver(192, 192, 192);
    for (int i = 0; i < count; ++i) {
        ChatStyle &s = styles_[std::size_t(i)];
        s.family = QStringLiteral("Arial");
        s.size = 10;
        s.colour = windowText;
    }
    styles_[0].colour = Qt::blue;
    styles_[1] = {QStringLiteral("Arial"), 10, QColor(Qt::blue), true, false, false};
    styles_[2] = {QStringLiteral("Arial"), 10, QColor(0, 0, 128), true, false, false};
    styles_[3] = {QStringLiteral("Arial"), 10, QColor(128, 0, 0), false, true, false};
    styles_[4] = {QStringLiteral("Arial"), 10, QColor(0, 128, 0), false, false, true};
    styles_[5] = {QStringLiteral("Arial"), 10, QColor(0, 128, 0), false, false, true};
    styles_[6].colour = silver;
    styles_[7].colour = silver;
}

int ChatStyles::styleForCode(int code)
{
    if (code <= 0)
        return systemStyle;
    if (code <= 9)
        return code + 5;
    if (code == 10)
        return lastSlotStyle;
    return watcherStyle;
}

const ChatStyle &ChatStyles::style(int index) const
{
    return styles_[std::size_t(std::clamp(index, 0, count - 1))];
}

bool ChatStyles::setLineColour(int index, const QColor &colour)
{
    if (index < 0 || index >= count || index == linkStyle)
        return false;
    ChatStyle &s = styles_[std::size_t(index)];
    const ChatStyle before = s;
    s.colour = colour.toRgb();
    s.bold = true;
    s.italic = false;
    s.underline = false;
    return !(s == before);
}

bool ChatStyles::setSize(int size)
{
    size = std::clamp(size, smallestSize, largestSize);
    if (size == styles_[0].size)
        return false;
    for (ChatStyle &s : styles_)
        s.size = size;
    return true;
}
