#pragma once

#include "gamesummary.h"

#include <QTreeWidget>

// `tree_summary`: one row per round of the game (the words this player found, those
// only others found, those nobody found, the best word with the sign of who found
// it), then the game's total in bold.
class GameSummaryView : public QTreeWidget
{
    Q_OBJECT

public:
    enum Column { RoundColumn, YoursColumn, OthersColumn, NobodyColumn, BestColumn };

    explicit GameSummaryView(QWidget *parent = nullptr);

    void showSummary(const GameSummary &summary);

private:
    QTreeWidgetItem *addRow(const GameSummary::Round &round, const QString &name);
};
