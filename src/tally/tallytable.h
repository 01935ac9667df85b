#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>

#include <array>

class QIODevice;

// The tally table `stringgrid_scores`: 9 columns of decimal text by R rows.
//
// Row 0 holds the player's own totals: column 1 games played, 2 games won, 3 most words
// found in one round, 4 accepted words of 12 letters or more; columns 0 and 5 to 8 are
// "0". Each further row is one tallied opponent, in the order they were added: column 0
// the player name (the key, compared exactly), then games together, the opponent's wins,
// the player's wins and games neither won, all time (columns 1 to 4) and this run
// (columns 5 to 8).
//
// Text layout of the tally file (lines ended by CR LF): the column count, the row count,
// then one cell a line, column by column (all rows of column 0 from row 0 down, then
// column 1, ...). An empty cell is an empty line.
class TallyTable : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int columns = 9;
    // A file announcing more rows than this is taken as damaged.
    static constexpr int maxRows = 100000;
    // The longest text layout read back.
    static constexpr qint64 maxTextSize = qint64(16) << 20;

    // One row, every cell "0".
    explicit TallyTable(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    int rows() const { return int(grid_.size()); }
    // The cell's text; empty outside the table.
    QString cell(int column, int row) const;
    // Ignored outside the table.
    void setCell(int column, int row, const QString &text);

    // The row of the opponent `name` (1 or more), or -1.
    int rowOf(const QString &name) const;
    QStringList opponents() const;
    // Adds a row for `name` with every count "0" and returns it.
    int appendOpponent(const QString &name);

    // Adds 1 to one cell and returns the new count. A cell that is empty or not a count
    // starts again from 0. Returns -1 outside the table.
    qint64 addit(int column, int row);
    // Removes opponent row `row` (1 or more); rows below move up. Row 0 is never removed.
    void moverow(int row);
    // Cuts the table to row 0.
    void removeOpponents();

    // Writes the table in the text layout. Names are written as UTF-8.
    bool savegrid(QIODevice &device) const;
    bool savegrid(const QString &fileName) const;
    // Reads a table in the text layout, replacing this one. On failure the table is left
    // as it was and `error` says why. Text that is not UTF-8 is read as Latin-1.
    bool loadgrid(QIODevice &device, QString *error = nullptr);
    bool loadgrid(const QString &fileName, QString *error = nullptr);

private:
    using Row = std::array<QString, columns>;
    QList<Row> grid_;
};
