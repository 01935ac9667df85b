#pragma once

#include "cell.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QRect>

class BoardModel;
class BoardPaintBox;

// The board as assistive technology reads it: a table of the played square as the
// player sees it, turned or not. Each cell is named by its letter ("R"), describes
// its place ("row 2, column 3"), is selected while it is part of the word being
// built and focused under the keyboard's cursor while the board has the focus.
// The paint box reports a new board or a turn as a model reset, and the word's
// tiles as selection changes (BoardPaintBox::reportChanges).
class BoardAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit BoardAccessible(BoardPaintBox *box);
    ~BoardAccessible() override;

    // Makes the board and the entry strip known to Qt's accessibility (once).
    static void installFactory();

    void *interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface *> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *event) override;

    // The cell interface of a displayed board cell; nullptr off the played square.
    QAccessibleInterface *cellOf(Cell shown) const;

private:
    BoardPaintBox *box() const;
    QRect square() const;
    void forgetCells();

    mutable QHash<int, QAccessible::Id> cells_; // by row * 10 + column
};
