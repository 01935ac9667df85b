#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QSize>
#include <QString>

// The main window's colours, fonts and painted pictures.
namespace MainArt {

inline const QColor background {76, 106, 76}; // dark green of the window and the words panel
inline const QColor paleYellow {224, 227, 157};
inline const QColor lightYellow {255, 255, 198};
inline const QColor chatBackground {226, 228, 182};

// Arial where installed, else a metric-compatible or common sans face.
QFont uiFont(int pixelSize, bool bold = false);

QPixmap logo(QSize size);
QPixmap eyes(QSize size);
QPixmap phraseButton(int number, QSize size); // 1 to 9 a speech bubble, 10 a note
QPixmap smiley(QSize size);
QPixmap blankBoard(int cells, int cellSize); // cells of picture 29
QPixmap emptySlot(int size); // picture 30 of the entry strip

} // namespace MainArt

namespace MainArt {

// The style sheet of the board panel: buttons, clock and words panel.
QString panelStyleSheet();

} // namespace MainArt
