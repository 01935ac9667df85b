#pragma once

#include <QColor>

// How well text reads on its background, by the WCAG 2 definitions: the relative
// luminance of a colour (0 black to 1 white) and the contrast ratio of two colours
// (1 to 21, the same either way round). Text the program draws aims for at least
// minimumTextContrast against whatever lies behind it.
namespace Legibility {

inline constexpr double minimumTextContrast = 4.5;

double relativeLuminance(const QColor &colour);
// How much larger the game's own texts (roster, words panel, clock) are drawn for a
// chat text size: 1 up to the usual sizes 8 and 10, then in step with the chat, to
// half as large again at 14.
double textScale(int chatTextSize);
double contrastRatio(const QColor &a, const QColor &b);

} // namespace Legibility
