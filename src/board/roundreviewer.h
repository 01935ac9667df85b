#pragma once

#include "acceptedword.h"
#include "boardmodel.h"
#include "roundreview.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

class LazyWordTrie;

// Makes the round review when the round's words arrive: it keeps a copy of the board
// the player holds at that moment and solves it, at once when the word list's trie is
// built, else as soon as it is (without blocking the window meanwhile). Without a trie
// the review groups only the words that were found. A review stays until the next
// round's words replace it.
class RoundReviewer : public QObject
{
    Q_OBJECT

public:
    // The board and the trie must outlive the reviewer; the trie may be null.
    RoundReviewer(const BoardModel *board, LazyWordTrie *trie, QObject *parent = nullptr);

    // The game's minimum word length: shorter words are left out of the review.
    void setMinLetters(int minletters) { minletters_ = minletters; }
    int minLetters() const { return minletters_; }

    // The round is over: `roundWords` from the host, `mine` as the host accepted them.
    void review(const QStringList &roundWords, const QList<AcceptedWord> &mine);

    bool isReady() const { return ready_; }
    bool isWaiting() const { return waiting_; }
    const RoundReview &result() const { return review_; }
    // True while the player still holds the board the review was made from, so that a
    // word's path belongs on it.
    bool reviewsCurrentBoard() const;

Q_SIGNALS:
    // The review began (and waits for the trie) or became ready.
    void changed();

private:
    void solve();

    const BoardModel *board_;
    QPointer<LazyWordTrie> trie_;
    int minletters_ = 3;
    BoardModel::Grid reviewed_ {};
    QStringList roundWords_;
    QList<AcceptedWord> mine_;
    RoundReview review_;
    bool ready_ = false;
    bool waiting_ = false;
};
