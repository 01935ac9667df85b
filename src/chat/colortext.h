#pragma once

#include <QColor>
#include <QString>

#include <optional>

// The text form of a colour, shared by chat messages and the settings file.
//
// Written as one of the sixteen standard names ("clBlack" ... "clWhite") when the
// colour matches one exactly, otherwise as "$" and eight upper-case hexadecimal
// digits of 0x00BBGGRR (blue in the high byte, red in the low byte):
//   red 0x12, green 0x34, blue 0x56  ->  "$00563412"
namespace ColorText {

// The text form of `colour`; its alpha is ignored.
QString toText(const QColor &colour);

// Reads a colour text: the standard names and the other classic colour names in any
// letter case, or an integer in decimal or as "$"/"0x" hexadecimal. Returns nothing
// when the text is none of these.
std::optional<QColor> fromText(const QString &text);

// The 0x00BBGGRR value of `colour`.
quint32 toValue(const QColor &colour);

// The colour of a 0x00BBGGRR value. A value whose high byte is 0xFF names a system
// colour by its low byte (shown in its classic default); other high bytes are ignored.
QColor fromValue(quint32 value);

} // namespace ColorText
