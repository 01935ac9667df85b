#include "roundreviewview.h"

#include "verdictmark.h"

#include <QHeaderView>

namespace {

constexpr int groupRole = Qt::UserRole;
constexpr int indexRole = Qt::UserRole + 1;
constexpr int indentStep = 12;

} // namespace

RoundReviewView::RoundReviewView(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("tree_review"));
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

    QFont font;
    font.setFamilies(
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(15);
    setFont(font);

    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) { choose(item); });
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) { choose(item); });
}

void RoundReviewView::showReview(const RoundReview &review)
{
    clearReview();
    review_ = review;
    QFont headingFont = font();
    headingFont.setBold(true);
    QFont signFont = font();
    signFont.setFamily(VerdictMark::fontFamily());
    signFont.setPixelSize(13);
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
        const QList<RoundReview::Entry> &entries = review.group(group);
        QList<QTreeWidgetItem *> children;
        children.reserve(entries.size());
        for (qsizetype i = 0; i < entries.size(); ++i) {
            const RoundReview::Entry &e = entries.at(i);
            auto *item = new QTreeWidgetItem;
            const QColor colour = VerdictMark::colour(e.mark);
            item->setText(MarkColumn, VerdictMark::sign(e.mark));
            item->setFont(MarkColumn, signFont);
            item->setTextAlignment(MarkColumn, Qt::AlignRight | Qt::AlignVCenter);
            item->setToolTip(MarkColumn, VerdictMark::description(e.mark));
            item->setText(WordColumn, e.word);
            item->setText(PointsColumn, QString::number(e.points));
            item->setTextAlignment(PointsColumn, Qt::AlignRight | Qt::AlignVCenter);
            for (int c = 0; c < columnCount(); ++c)
                item->setForeground(c, colour);
            if (!e.path.isEmpty())
                item->setToolTip(WordColumn, tr("Click to see it on the board"));
            item->setData(MarkColumn, groupRole, g);
            item->setData(MarkColumn, indexRole, int(i));
            children.append(item);
        }
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
