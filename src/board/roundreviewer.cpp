#include "roundreviewer.h"

#include "boardsolver.h"
#include "lazywordtrie.h"

RoundReviewer::RoundReviewer(const BoardModel *board, LazyWordTrie *trie, QObject *parent)
    : QObject(parent)
    , board_(board)
    , trie_(trie)
{
    if (trie_)
        connect(trie_, &LazyWordTrie::built, this, [this] {
            if (waiting_)
                solve();
        });
}

void RoundReviewer::review(const QStringList &roundWords, const QList<AcceptedWord> &mine)
{
    reviewed_ = board_->realboard();
    roundWords_ = roundWords;
    mine_ = mine;
    ready_ = false;
    waiting_ = false;
    if (trie_ && !trie_->isBuilt()) {
        waiting_ = true;
        trie_->start();
        Q_EMIT changed();
        return;
    }
    solve();
}

bool RoundReviewer::reviewsCurrentBoard() const
{
    return ready_ && board_->realboard() == reviewed_;
}

void RoundReviewer::solve()
{
    waiting_ = false;
    QList<SolvedWord> words;
    if (trie_) {
        BoardSolver::Board cells {};
        for (int row = 0; row < BoardModel::size; ++row)
            for (int col = 0; col < BoardModel::size; ++col)
                cells[size_t(row)][size_t(col)] = reviewed_[size_t(row)][size_t(col)];
        BoardSolver solver(trie_->trie());
        words = solver.solve(cells);
    }
    review_ = RoundReview::build(words, mine_, roundWords_, minletters_, bool(trie_));
    ready_ = true;
    Q_EMIT changed();
}
