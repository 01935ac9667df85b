#pragma once

#include <QColor>
#include <QString>
#include <QStringView>

#include <optional>

// The colour text of the settings file (and of chat messages): one of the sixteen
// standard names ("clBlack" ... "clWhite") when the colour matches one exactly,
// otherwise "$" and eight upper-case hexadecimal digits of the value 0x00BBGGRR
// (red in the low byte).
namespace SettingsColor {

QString toText(const QColor &color);

// Accepts the standard names and a few other well-known ones in any letter case,
// and a number in decimal, "$"-hexadecimal or "0x"-hexadecimal whose high byte is
// zero. Anything else (system colours, negative or oversized numbers, garbage)
// gives no colour.
std::optional<QColor> fromText(QStringView text);

} // namespace SettingsColor
