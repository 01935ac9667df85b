#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>

class QPainter;
class QRectF;

// The program's pictures, drawn in code so that they stay sharp at any screen
// scale. Every function returns a fresh pixmap at the screen's device pixel ratio;
// the sizes below are in logical pixels.
namespace Artwork {

// The side windows' palette: the board's dark green and the pale yellow of its texts.
inline const QColor boardGreen {76, 106, 76};
inline const QColor deepGreen {47, 72, 47};
inline const QColor paleYellow {255, 255, 198};

// The face of the program's texts: Arial where installed, else a metric-compatible or
// common sans face, antialiased.
QFont uiFont(int pixelSize, bool bold = false);

// A seamless 256 × 256 texture of the board's green with faint letters, to be tiled.
QPixmap backgroundTile();

// 38 × 420: the name spelled by ten letter tiles stacked top to bottom.
QPixmap logo();

// 184 × 184: a board with the name traced across it as a found word.
QPixmap aboutPicture();

// 164 × 164: a small board with "SOLO" traced on it and a round clock.
QPixmap soloPicture();

// 220 × 140: players around the world joined to a game.
QPixmap downloadPicture();

// 22 × 22: the options dialog's check box, unchecked (picture 0) or checked (1).
QPixmap checkPicture(bool checked);

// 168 × 40: the options dialog's start picture, "START" in letter tiles.
QPixmap startPicture();

// 24 × 24: a board of `side` × `side` squares; side 0 draws a question mark (random).
QPixmap boardSizeIcon(int side);

// Draws one letter tile into `rect`. `lit` tiles are drawn as part of a found word.
void drawTile(QPainter &painter, const QRectF &rect, const QString &letter, bool lit = false);

} // namespace Artwork
