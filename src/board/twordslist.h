#pragma once

#include "cell.h"
#include "gamesummary.h"
#include "roundwordlist.h"
#include "sidewindow.h"

#include <QByteArrayView>
#include <QList>
#include <QPoint>
#include <QPointer>

#include <optional>

class BoardModel;
class DefinitionView;
class GameSummaryView;
class LazyWordTrie;
class QLabel;
class QPushButton;
class QTabWidget;
class RoundReviewView;
class RoundReviewer;
class WordGrid;
class WordNet;
class WordResults;

// The words list window "Wendlewick - Words List", on top of the other windows: after
// each round, the words accepted in the round (`stringgrid_words`, three to a row, or
// `label_nowords`) and their count (`label_found`); on a second page, the round review:
// every word the board held, grouped by who found it, whose path a click draws on the
// board (pathChosen) and whose meaning shows below it (from WordNet); on a third, the
// summary of the game's rounds. `button_allwords` hides the window.
//
// The review of the last round stays until the next round's words arrive, so it can
// be opened again during that round (showLastRound). While the review page is open the
// window stands beside the board rather than over it; every other page keeps the
// window's own place, which the main window restores from the settings
// ("Wordslistleft", "Wordslisttop") with setPosition() and saves from position().
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

    enum Page { WordsPage, ReviewPage, GamePage };

    // The words of "CMD_mainlist" after the slot field (for this player's slot): fills
    // the grid and the count, starts the review, shows the window.
    void thewords(QByteArrayView list);
    void button_allwordsClick();

    // The game's minimum word length, for the review.
    void setMinLetters(int minletters);
    // The board the review stands beside (its widget on the screen), and the database
    // of meanings (may be null). Both must outlive the window.
    void setBoardView(QWidget *board);
    void setDefinitions(WordNet *wordnet);

    // A game starts: the window hides and the game's summary starts anew.
    void gameStarted();
    // A round starts: the window hides; the last round's review stays for showLastRound().
    void roundStarted();
    // The game is won: the window shows the summary of its rounds.
    void gameOver();
    // View, "Last Round's Words": the window shows the last round's review.
    void showLastRound();
    // Between rounds, when the next one starts (`label_nextround`); empty hides it.
    void setNextRound(const QString &text);
    bool hasLastRound() const;

    // The window's own place: where it stands, or where it goes back to when it leaves
    // the review page.
    QPoint position() const;
    void setPosition(QPoint leftTop);

    // label_found's tag: the number of words in the grid.
    int count() const { return list_.count(); }
    const RoundWordList &wordList() const { return list_; }
    WordGrid *grid() const { return stringgrid_words_; }
    RoundReviewView *reviewView() const { return review_; }
    RoundReviewer *reviewer() const { return reviewer_; }
    DefinitionView *definitionView() const { return definition_; }
    const GameSummary &gameSummary() const { return summary_; }
    GameSummaryView *summaryView() const { return summaryView_; }
    // The pages, in Page order.
    QTabWidget *pages() const { return pages_; }

Q_SIGNALS:
    // A word of the review was chosen: its tiles in the host's orientation, first tile
    // first (empty for a word the board does not show). For BoardPaintBox::showPath.
    void pathChosen(const QList<Cell> &realPath);
    // There is a last round's review to show, or no more.
    void lastRoundChanged(bool available);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showReview();
    void showBoardNote();
    void showSummary();
    void wordChosen(const QString &word, const QList<Cell> &path);
    void pageChanged(int page);
    void standBesideBoard();
    void leaveBoardSide();
    // The board's rectangle on the screen; empty without a board view.
    QRect boardOnScreen() const;

    WordResults *results_;
    RoundReviewer *reviewer_;
    RoundWordList list_;
    GameSummary summary_;
    // The review under way belongs to the game's summary once it is ready.
    bool summaryAwaitsReview_ = false;
    // The game is over: its summary shows as soon as its last round is in it.
    bool summaryWanted_ = false;

    QPointer<QWidget> board_;
    // While the review page stands beside the board: the window's own place, and where
    // the player last moved the review to, from the board's corner.
    bool besideBoard_ = false;
    QPoint ownPlace_;
    QPoint placedAt_;
    std::optional<QPoint> playerOffset_;

    QLabel *label_found_;
    QLabel *label_nextround_;
    QLabel *label_nowords_;
    QPushButton *button_allwords_;
    WordGrid *stringgrid_words_;
    QTabWidget *pages_;
    QLabel *label_summary_;
    QLabel *label_boardnote_;
    RoundReviewView *review_;
    DefinitionView *definition_;
    GameSummaryView *summaryView_;
};
