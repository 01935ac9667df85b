#pragma once

#include "cell.h"
#include "roundreview.h"

#include <QList>
#include <QTreeWidget>

// The round review as a list under three headings ("Found by you (12)" ...), each word
// with its sign, in its group's colour, and its points. Choosing a word (a click or
// the arrow keys) asks for its path through wordChosen.
class RoundReviewView : public QTreeWidget
{
    Q_OBJECT

public:
    enum Column { MarkColumn, WordColumn, PointsColumn };

    explicit RoundReviewView(QWidget *parent = nullptr);

    void showReview(const RoundReview &review);
    void clearReview();

    // The heading item of a group, and the item of its n-th word (nullptr for none).
    QTreeWidgetItem *groupItem(RoundReview::Group g) const;
    QTreeWidgetItem *wordItem(RoundReview::Group g, int n) const;

Q_SIGNALS:
    void wordChosen(const QString &word, const QList<Cell> &path);

private:
    void choose(QTreeWidgetItem *item);

    // The review shown; its word rows refer to its entries.
    RoundReview review_;
    QFont signFont_;
};
