#include "roundreviewview.h"

#include "artwork.h"
#include "verdictmark.h"

#include <QHeaderView>

namespace {

constexpr int groupRole = Qt::UserRole;
constexpr int indexRole = Qt::UserRole + 1;
constexpr int indentStep = 12;

// A word's row. It stores nothing but where its entry is and works out each column's
// text, colour, font and tip when asked, so a review of a thousand words costs a
// thousand small objects rather than a dozen stored values each.
class WordItem : public QTreeWidgetItem
{
public:
    WordItem(const RoundReview::Entry &entry, int group, int index, const QFont &signFont)
        : QTreeWidgetItem(UserType)
        , entry_(entry)
        , group_(group)
        , index_(index)
        , signFont_(signFont)
    { }

    QVariant data(int column, int role) const override
    {
        switch (role) {
        case Qt::DisplayRole:
            return column == RoundReviewView::MarkColumn ? VerdictMark::sign(entry_.mark)
                : column == RoundReviewView::WordColumn  ? entry_.word
                                                         : QString::number(entry_.points);
        case Qt::ForegroundRole:
            return QBrush(VerdictMark::colour(entry_.mark));
        case Qt::FontRole:
            return column == RoundReviewView::MarkColumn ? QVariant(signFont_) : QVariant();
        case Qt::TextAlignmentRole:
            return column == RoundReviewView::WordColumn ? QVariant()
                                                         : QVariant(int(Qt::AlignRight | Qt::AlignVCenter));
        case Qt::ToolTipRole:
            if (column == RoundReviewView::MarkColumn)
                return VerdictMark::description(entry_.mark);
            if (column == RoundReviewView::WordColumn && !entry_.path.isEmpty())
                return RoundReviewView::tr("Click to see it on the board");
            return QVariant();
        case groupRole:
            return column == RoundReviewView::MarkColumn ? QVariant(group_) : QVariant();
        case indexRole:
            return column == RoundReviewView::MarkColumn ? QVariant(index_) : QVariant();
        default:
            return QTreeWidgetItem::data(column, role);
        }
    }

private:
    const RoundReview::Entry &entry_; // in the view's own copy of the review
    int group_;
    int index_;
    const QFont &signFont_;
};

} // namespace

RoundReviewView::RoundReviewView(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("tree_review"));
    setAccessibleName(tr("Every word of the round"));
    setColumnCount(3);
    setHeaderLabels({QString(), tr("Word"), tr("Points")});
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(MarkColumn, QHeaderView::Fixed);
    header()->setSectionResizeMode(WordColumn, QHeaderView::Stretch);
    header()->setSectionResizeMode(PointsColumn, QHeaderView::Fixed);
    // The mark column also holds the groups' arrows and the words' indentation.
    header()->resizeSection(MarkColumn, 2 * indentStep + 22);
    header()->resizeSection(PointsColumn, 56);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    headerItem()->setTextAlignment(PointsColumn, Qt::AlignRight | Qt::AlignVCenter);
    setRootIsDecorated(true);
    setIndentation(indentStep);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAllColumnsShowFocus(true);
    setFrameShape(QFrame::NoFrame);

    setFont(Artwork::uiFont(15));

    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) { choose(item); });
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) { choose(item); });
}

void RoundReviewView::showReview(const RoundReview &review)
{
    clearReview();
    review_ = review;
    QFont headingFont = font();
    headingFont.setBold(true);
    signFont_ = font();
    signFont_.setFamily(VerdictMark::fontFamily());
    signFont_.setPixelSize(13);
    for (int g = 0; g < RoundReview::groupCount; ++g) {
        const auto group = RoundReview::Group(g);
        if (group == RoundReview::FoundByNobody && !review.solved())
            continue;
        auto *heading = new QTreeWidgetItem(this);
        heading->setText(MarkColumn, review.groupHeading(group));
        heading->setFont(MarkColumn, headingFont);
        heading->setForeground(MarkColumn, VerdictMark::lightYellow);
        heading->setFlags(Qt::ItemIsEnabled);
        heading->setData(MarkColumn, groupRole, g);
        heading->setData(MarkColumn, indexRole, -1);
        heading->setFirstColumnSpanned(true);
        const QList<RoundReview::Entry> &entries = review_.group(group);
        // The heading spans the row; a screen reader still reads its hidden cells.
        int points = 0;
        for (const RoundReview::Entry &e : entries)
            points += e.points;
        const auto counted
            = [](qsizetype n, const QString &one, const QString &many) { return n == 1 ? one : many.arg(n); };
        heading->setData(
            WordColumn, Qt::AccessibleTextRole, counted(entries.size(), tr("1 word"), tr("%1 words")));
        heading->setData(
            PointsColumn, Qt::AccessibleTextRole, counted(points, tr("1 point"), tr("%1 points")));
        QList<QTreeWidgetItem *> children;
        children.reserve(entries.size());
        for (qsizetype i = 0; i < entries.size(); ++i)
            children.append(new WordItem(entries.at(i), g, int(i), signFont_));
        heading->addChildren(children);
        heading->setExpanded(true);
    }
}

void RoundReviewView::clearReview()
{
    clear();
    review_ = RoundReview();
}

QTreeWidgetItem *RoundReviewView::groupItem(RoundReview::Group g) const
{
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = topLevelItem(i);
        if (item->data(MarkColumn, groupRole).toInt() == int(g))
            return item;
    }
    return nullptr;
}

QTreeWidgetItem *RoundReviewView::wordItem(RoundReview::Group g, int n) const
{
    QTreeWidgetItem *heading = groupItem(g);
    return heading && n >= 0 && n < heading->childCount() ? heading->child(n) : nullptr;
}

void RoundReviewView::choose(QTreeWidgetItem *item)
{
    if (!item)
        return;
    const int g = item->data(MarkColumn, groupRole).toInt();
    const int n = item->data(MarkColumn, indexRole).toInt();
    if (g < 0 || g >= RoundReview::groupCount || n < 0)
        return;
    const QList<RoundReview::Entry> &entries = review_.group(RoundReview::Group(g));
    if (n >= entries.size())
        return;
    Q_EMIT wordChosen(entries.at(n).word, entries.at(n).path);
}
