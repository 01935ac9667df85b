#include "gamesummaryview.h"

#include "verdictmark.h"

#include <QHeaderView>

namespace {

VerdictMark::Kind markOf(RoundReview::Group g, const RoundReview::Entry &best)
{
    return g == RoundReview::FoundByYou   ? best.mark
        : g == RoundReview::FoundByOthers ? VerdictMark::Kind::FoundByOthers
                                          : VerdictMark::Kind::FoundByNobody;
}

} // namespace

GameSummaryView::GameSummaryView(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("tree_summary"));
    setColumnCount(5);
    setHeaderLabels({tr("Round"), tr("You"), tr("Others"), tr("Nobody"), tr("Best word")});
    header()->setStretchLastSection(true);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int c = RoundColumn; c < BestColumn; ++c)
        header()->resizeSection(c, c == RoundColumn ? 64 : 58);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::NoSelection);
    setAccessibleName(tr("Rounds of this game"));
    setFocusPolicy(Qt::TabFocus);
    setFrameShape(QFrame::NoFrame);
}

QTreeWidgetItem *GameSummaryView::addRow(const GameSummary::Round &round, const QString &name)
{
    auto *item = new QTreeWidgetItem(this);
    item->setText(RoundColumn, name);
    item->setText(YoursColumn, QString::number(round.yours));
    item->setText(OthersColumn, QString::number(round.others));
    item->setText(NobodyColumn, round.nobody < 0 ? QStringLiteral("\u2013") : QString::number(round.nobody));
    item->setToolTip(YoursColumn, round.yourWords.join(QStringLiteral(", ")));
    if (!round.best.word.isEmpty()) {
        const VerdictMark::Kind mark = markOf(round.bestGroup, round.best);
        item->setText(BestColumn, VerdictMark::sign(mark) + u' ' + round.best.word);
        item->setForeground(BestColumn, VerdictMark::colour(mark));
        item->setToolTip(BestColumn, RoundReview::groupTitle(round.bestGroup));
    } else {
        item->setData(BestColumn, Qt::AccessibleTextRole, tr("No best word"));
    }
    return item;
}

void GameSummaryView::showSummary(const GameSummary &summary)
{
    clear();
    for (const GameSummary::Round &r : summary.rounds())
        addRow(r, QString::number(r.number));
    if (summary.isEmpty())
        return;
    QTreeWidgetItem *total = addRow(summary.total(), tr("Game"));
    QFont bold = font();
    bold.setBold(true);
    for (int c = 0; c < columnCount(); ++c)
        total->setFont(c, bold);
}
