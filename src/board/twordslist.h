#pragma once

#include "cell.h"
#include "roundwordlist.h"
#include "sidewindow.h"

#include <QByteArrayView>
#include <QList>
#include <QPoint>

class BoardModel;
class LazyWordTrie;
class QLabel;
class QPushButton;
class QTabWidget;
class RoundReviewView;
class RoundReviewer;
class WordGrid;
class WordResults;

// The words list window "Wendlewick - Words List", on top of the other windows: after
// each round, the words accepted in the round (`stringgrid_words`, three to a row, or
// `label_nowords`) and their count (`label_found`); beside them, on a second page, the
// round review: every word the board held, grouped by who found it, whose path a click
// draws on the board (pathChosen). `button_allwords` hides the window.
//
// The window keeps its place while hidden: the main window restores it from the
// settings ("Wordslistleft", "Wordslisttop") with setPosition() and saves position().
class Twordslist : public SideWindow
{
    Q_OBJECT

public:
    static inline const QString topKey = QStringLiteral("Wordslisttop");
    static inline const QString leftKey = QStringLiteral("Wordslistleft");
    static constexpr QPoint defaultPosition {42, 98}; // left, top
    static inline const QString noWordsText = QStringLiteral("No Words Were Found");

    // The board is the one the player holds; the trie (may be null: no review of the
    // words nobody found) is the solver's; the results give this player's accepted
    // words. All must outlive the window.
    Twordslist(BoardModel *board, LazyWordTrie *trie, WordResults *results, QWidget *parent = nullptr);
    ~Twordslist() override;

    // The words of "CMD_mainlist" after the slot field (for this player's slot): fills
    // the grid and the count, starts the review, shows the window.
    void thewords(QByteArrayView list);
    void button_allwordsClick();

    // The game's minimum word length, for the review.
    void setMinLetters(int minletters);

    QPoint position() const { return pos(); }
    void setPosition(QPoint leftTop) { move(leftTop); }

    // label_found's tag: the number of words in the grid.
    int count() const { return list_.count(); }
    const RoundWordList &wordList() const { return list_; }
    WordGrid *grid() const { return stringgrid_words_; }
    RoundReviewView *reviewView() const { return review_; }
    RoundReviewer *reviewer() const { return reviewer_; }
    // The two pages: 0 the round's words, 1 the review.
    QTabWidget *pages() const { return pages_; }

Q_SIGNALS:
    // A word of the review was chosen: its tiles in the host's orientation, first tile
    // first (empty for a word the board does not show). For BoardPaintBox::showPath.
    void pathChosen(const QList<Cell> &realPath);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showReview();
    void wordChosen(const QList<Cell> &path);

    WordResults *results_;
    RoundReviewer *reviewer_;
    RoundWordList list_;

    QLabel *label_found_;
    QLabel *label_nowords_;
    QPushButton *button_allwords_;
    WordGrid *stringgrid_words_;
    QTabWidget *pages_;
    QLabel *label_summary_;
    RoundReviewView *review_;
};
