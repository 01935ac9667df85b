#include "wordgrid.h"

#include "artwork.h"
#include "roundwordlist.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// stringgrid_wordsDrawCell: the cell's rectangle in the background colour, then its text
// 2 pixels right of and below the cell's top-left corner.
class CellPainter : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        p->save();
        p->fillRect(option.rect, WordGrid::background);
        const QString text = index.data(Qt::DisplayRole).toString();
        if (!text.isEmpty()) {
            QFont font = option.font;
            const QRect area = option.rect.adjusted(2, 2, -2, 0);
            // Squeeze a long word into its cell, down to 60 % of its width; only a word
            // wider still (no real word is) loses its end.
            const int natural = QFontMetrics(font).horizontalAdvance(text);
            if (natural > area.width())
                font.setStretch(qMax(60, area.width() * 100 / natural));
            p->setFont(font);
            p->setPen(WordGrid::textColour);
            const QString shown = QFontMetrics(font).elidedText(text, Qt::ElideRight, area.width());
            p->drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown);
        }
        p->restore();
    }
};

} // namespace

WordGrid::WordGrid(QWidget *parent)
    : QTableWidget(1, columns, parent)
{
    setObjectName(QStringLiteral("stringgrid_words"));
    setAccessibleName(QStringLiteral("Words of the round"));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    for (int c = 0; c < columns; ++c)
        setColumnWidth(c, cellWidth);
    setShowGrid(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::TabFocus);
    // Tab leaves the grid rather than walking its cells.
    setTabKeyNavigation(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFrameShape(QFrame::NoFrame);
    setItemDelegate(new CellPainter(this));

    setFont(Artwork::uiFont(16));
    QPalette pal = palette();
    pal.setColor(QPalette::Base, background);
    pal.setColor(QPalette::Window, background);
    pal.setColor(QPalette::Text, textColour);
    setPalette(pal);
}

void WordGrid::showWords(const RoundWordList &list)
{
    clearContents();
    setRowCount(list.rows());
    for (int i = 0; i < list.count(); ++i) {
        auto *item = new QTableWidgetItem(list.words().at(i));
        item->setFlags(Qt::ItemIsEnabled);
        setItem(i / columns, i % columns, item);
    }
    // The rest of the last row reads as empty, not as nothing at all.
    for (int i = list.count(); i < rowCount() * columns; ++i) {
        auto *item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled);
        item->setData(Qt::AccessibleTextRole, QStringLiteral("blank"));
        setItem(i / columns, i % columns, item);
    }
    scrollToTop();
}

QString WordGrid::cellText(int row, int column) const
{
    const QTableWidgetItem *cell = item(row, column);
    return cell ? cell->text() : QString();
}
