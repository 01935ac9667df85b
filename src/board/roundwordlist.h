#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

// The words of the round as "CMD_mainlist" carries them after the slot field: the
// words joined by "+", or the single item "No Words". Items are read in order up to
// the item "No Words", which ends the list; empty items are skipped.
class RoundWordList
{
public:
    static constexpr int columns = 3;
    // A host that floods gets this many words shown; a real round stays far below.
    static constexpr int maxWords = 4096;
    static inline const QString noWordsItem = QStringLiteral("No Words");

    static RoundWordList fromWire(QByteArrayView list);

    // The words in the order they came, each made fit for one cell.
    const QStringList &words() const { return words_; }
    int count() const { return int(words_.size()); }
    // The list said "No Words" before any word.
    bool noWords() const { return noWords_; }

    // The grid's rows, three words to a row; at least one row.
    int rows() const { return count() == 0 ? 1 : (count() + columns - 1) / columns; }
    // The word in a cell of the grid, empty for a cell after the last word.
    QString cell(int row, int column) const;

private:
    QStringList words_;
    bool noWords_ = false;
};
