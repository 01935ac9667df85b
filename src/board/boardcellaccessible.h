#pragma once

#include <QAccessible>
#include <QPointer>

class BoardPaintBox;

// One cell of the board's table (BoardAccessible): a row and a column of the played
// square as displayed. It reads the board afresh on every question, so it is never
// stale; it is invalid once its row or column lies outside the square.
class BoardCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    BoardCellAccessible(BoardPaintBox *box, int row, int column);

    // "row 2, column 3": the place of a cell, counted from 1.
    static QString placeText(int row, int column);

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override { }
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    bool isSelected() const override;
    QList<QAccessibleInterface *> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return parent(); }

private:
    int code() const;

    QPointer<BoardPaintBox> box_;
    int row_;
    int column_;
};
