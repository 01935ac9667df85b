#pragma once

#include <QColor>
#include <QTableWidget>

class RoundWordList;

// `stringgrid_words`: the words of the round, three to a row, in columns of 127
// pixels, pale yellow Arial 16 pixels on the board's dark green, without headers or
// grid lines; it scrolls vertically. Selected cells look like all others. A word too
// wide for its cell is drawn narrower rather than cut.
class WordGrid : public QTableWidget
{
    Q_OBJECT

public:
    static constexpr int cellWidth = 127;
    static constexpr int rowHeight = 24;
    static constexpr int columns = 3;
    static inline const QColor background {76, 106, 76};
    static inline const QColor textColour {255, 255, 198};

    explicit WordGrid(QWidget *parent = nullptr);

    // Empties every cell and fills the grid with the words, row by row (one empty row
    // for no words).
    void showWords(const RoundWordList &list);
    // The text of a cell; empty for an empty cell or one outside the grid.
    QString cellText(int row, int column) const;
};
