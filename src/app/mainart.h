#pragma once

#include "artwork.h"

#include <QColor>
#include <QPixmap>
#include <QSize>
#include <QString>

// The main window's colours, fonts and the pictures only it shows; the logo is the
// side windows' (Artwork), the smilies and phrase buttons are the chat's.
namespace MainArt {

inline const QColor &background = Artwork::boardGreen; // dark green of the window and the words panel
inline const QColor paleYellow {224, 227, 157};
inline const QColor &lightYellow = Artwork::paleYellow;
// The round clock's plate under its text: dark enough for both the pale yellow and the
// red of the last seconds, with a faint rim.
inline const QColor clockPlate {10, 16, 10};
inline const QColor clockRim {224, 227, 157, 110};

QPixmap eyes(QSize size);

} // namespace MainArt

namespace MainArt {

// The style sheet of the board panel: buttons, clock and words panel.
QString panelStyleSheet();

} // namespace MainArt
