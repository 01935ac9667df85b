#include "legibility.h"

#include <algorithm>
#include <cmath>

namespace Legibility {

double relativeLuminance(const QColor &colour)
{
    const auto linear
        = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

double textScale(int chatTextSize)
{
    return std::clamp(chatTextSize / 10.0, 1.0, 1.5);
}

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace Legibility
