#include "twordslist.h"

#include "artwork.h"
#include "definitionview.h"
#include "gamesummaryview.h"
#include "reviewplacement.h"
#include "roundreviewer.h"
#include "roundreviewview.h"
#include "wordgrid.h"
#include "wordresults.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int gridWidth = WordGrid::cellWidth * WordGrid::columns;
constexpr int windowHeight = 470;
constexpr int definitionHeight = 104;

// The picture of button_allwords: "DONE" in four small letter tiles.
QPixmap donePicture(qreal dpr)
{
    constexpr int tile = 26;
    constexpr int gap = 2;
    const QString word = QStringLiteral("DONE");
    const QSize size(int(word.size()) * (tile + gap) - gap, tile);
    QPixmap pix(size * dpr);
    pix.setDevicePixelRatio(dpr);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < word.size(); ++i)
        Artwork::drawTile(p, QRectF(i * (tile + gap), 0, tile, tile), word.mid(i, 1));
    return pix;
}

const char *const pageStyle = R"(
QTabWidget::pane { border: 1px solid #2f482f; background: #4c6a4c; top: -1px; }
QTabBar::tab {
    background: #3e5a3e; color: #e6e8c4; padding: 4px 12px; margin-right: 2px;
    border: 1px solid #2f482f; border-bottom: none;
    border-top-left-radius: 5px; border-top-right-radius: 5px;
}
QTabBar::tab:selected { background: #4c6a4c; color: #ffffc6; }
QTabBar::tab:!selected { margin-top: 3px; }
QTabBar::tab:disabled { color: #8a9a7a; }
QTreeView#tree_review, QTreeView#tree_summary { background: #4c6a4c; color: #ffffc6; border: none; }
QTreeView#tree_review::item, QTreeView#tree_summary::item { padding: 1px 0; }
QTreeView#tree_review::item:selected { background: #2f482f; }
QTextBrowser#text_definition { background: #2f482f; color: #ffffc6; border: none; padding: 2px 4px; }
QHeaderView::section {
    background: #3e5a3e; color: #ffffc6; border: none; border-bottom: 1px solid #2f482f;
    padding: 2px 4px; font-weight: bold;
}
)";

} // namespace

Twordslist::Twordslist(BoardModel *board, LazyWordTrie *trie, WordResults *results, QWidget *parent)
    : SideWindow(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
    , results_(results)
    , reviewer_(new RoundReviewer(board, trie, this))
    , label_found_(new QLabel(WordResults::countText(0)))
    , label_nextround_(new QLabel)
    , label_nowords_(new QLabel(noWordsText))
    , button_allwords_(new QPushButton)
    , stringgrid_words_(new WordGrid)
    , pages_(new QTabWidget)
    , label_summary_(new QLabel)
    , label_boardnote_(new QLabel(tr("A new board is in play: these words are no longer on it.")))
    , review_(new RoundReviewView)
    , definition_(new DefinitionView)
    , summaryView_(new GameSummaryView)
{
    setObjectName(QStringLiteral("wordslist"));
    setWindowTitle(QStringLiteral("Wendlewick - Words List"));
    // It opens by itself at each round's end, often while the player types in the chat:
    // it must not take the keys away.
    setAttribute(Qt::WA_ShowWithoutActivating);

    label_found_->setObjectName(QStringLiteral("label_found"));
    label_found_->setFont(Artwork::uiFont(16, true));
    label_found_->setProperty("tag", 0);

    button_allwords_->setObjectName(QStringLiteral("button_allwords"));
    const QPixmap done = donePicture(devicePixelRatioF());
    button_allwords_->setIcon(QIcon(done));
    button_allwords_->setIconSize(done.deviceIndependentSize().toSize());
    button_allwords_->setFlat(true);
    button_allwords_->setCursor(Qt::PointingHandCursor);
    button_allwords_->setToolTip(tr("Hide the words list"));
    button_allwords_->setAccessibleName(tr("Hide the words list"));
    button_allwords_->setFocusPolicy(Qt::TabFocus);
    connect(button_allwords_, &QPushButton::clicked, this, &Twordslist::button_allwordsClick);

    label_nowords_->setObjectName(QStringLiteral("label_nowords"));
    label_nowords_->setFont(Artwork::uiFont(18, true));
    label_nowords_->setAlignment(Qt::AlignCenter);
    // In the grid's place and colours: the page's style sheet would otherwise give it
    // the default black, which does not read on the green.
    label_nowords_->setStyleSheet(QStringLiteral("color: %1;").arg(WordGrid::textColour.name()));
    label_nowords_->hide();

    // The round's words: the grid, or in its place the note that there were none.
    auto *wordsPage = new QWidget;
    wordsPage->setObjectName(QStringLiteral("page_words"));
    auto *wordsLayout = new QGridLayout(wordsPage);
    wordsLayout->setContentsMargins(0, 0, 0, 0);
    const int scrollBar = stringgrid_words_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    stringgrid_words_->setFixedWidth(gridWidth + scrollBar + 2);
    wordsLayout->addWidget(stringgrid_words_, 0, 0, Qt::AlignHCenter);
    wordsLayout->addWidget(label_nowords_, 0, 0);

    auto *reviewPage = new QWidget;
    reviewPage->setObjectName(QStringLiteral("page_review"));
    auto *reviewLayout = new QVBoxLayout(reviewPage);
    reviewLayout->setContentsMargins(6, 6, 6, 6);
    reviewLayout->setSpacing(4);
    label_summary_->setObjectName(QStringLiteral("label_summary"));
    label_summary_->setFont(Artwork::uiFont(15, true));
    label_summary_->setWordWrap(true);
    QPalette treePalette = review_->palette();
    treePalette.setColor(QPalette::Highlight, QColor(47, 72, 47));
    treePalette.setColor(QPalette::HighlightedText, Artwork::paleYellow);
    review_->setPalette(treePalette);
    reviewLayout->addWidget(label_summary_);
    label_boardnote_->setObjectName(QStringLiteral("label_boardnote"));
    label_boardnote_->setFont(Artwork::uiFont(13));
    label_boardnote_->setWordWrap(true);
    label_boardnote_->hide();
    reviewLayout->addWidget(label_boardnote_);
    reviewLayout->addWidget(review_, 1);
    definition_->setFont(Artwork::uiFont(14));
    definition_->setFixedHeight(definitionHeight);
    reviewLayout->addWidget(definition_);

    // The game's rounds, filled as each round's review is ready.
    auto *gamePage = new QWidget;
    gamePage->setObjectName(QStringLiteral("page_game"));
    auto *gameLayout = new QVBoxLayout(gamePage);
    gameLayout->setContentsMargins(6, 6, 6, 6);
    summaryView_->setFont(Artwork::uiFont(15));
    gameLayout->addWidget(summaryView_);

    pages_->setObjectName(QStringLiteral("tabs_words"));
    pages_->setStyleSheet(QString::fromLatin1(pageStyle));
    pages_->setFont(Artwork::uiFont(13, true));
    pages_->setDocumentMode(false);
    pages_->addTab(wordsPage, tr("Words of the Round"));
    pages_->addTab(reviewPage, tr("Every Word"));
    pages_->addTab(gamePage, tr("This Game"));
    pages_->setTabToolTip(ReviewPage, tr("Every word the board held, and who found it"));
    pages_->setTabToolTip(GamePage, tr("Every round of the game"));
    pages_->setTabEnabled(GamePage, false);
    // The review's own widgets keep their fonts; the page style only sets the tabs'.
    review_->setFont(Artwork::uiFont(15));

    // The window closes when the next round starts: it says when that will be.
    label_nextround_->setObjectName(QStringLiteral("label_nextround"));
    label_nextround_->setFont(Artwork::uiFont(14));
    label_nextround_->setAlignment(Qt::AlignCenter);
    label_nextround_->hide();

    auto *top = new QHBoxLayout;
    top->addWidget(label_found_);
    top->addStretch(1);
    top->addWidget(label_nextround_);
    top->addStretch(1);
    top->addWidget(button_allwords_);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->setSpacing(6);
    layout->addLayout(top);
    layout->addWidget(pages_, 1);
    setFixedSize(gridWidth + scrollBar + 48, windowHeight);
    move(defaultPosition);

    connect(reviewer_, &RoundReviewer::changed, this, &Twordslist::showReview);
    connect(review_, &RoundReviewView::wordChosen, this, &Twordslist::wordChosen);
    connect(pages_, &QTabWidget::currentChanged, this, &Twordslist::pageChanged);
    showReview();
}

Twordslist::~Twordslist() = default;

void Twordslist::thewords(QByteArrayView list)
{
    list_ = RoundWordList::fromWire(list);
    stringgrid_words_->showWords(list_);
    const bool none = list_.count() == 0;
    stringgrid_words_->setHidden(none);
    label_nowords_->setVisible(none);
    label_found_->setText(WordResults::countText(list_.count()));
    label_found_->setProperty("tag", list_.count());

    summaryAwaitsReview_ = true;
    reviewer_->review(list_.words(), results_->acceptedWords());
    // Each round's list opens on its words, whichever page the player left open.
    pages_->setCurrentIndex(0);
    if (isVisible())
        raise();
    else
        show();
}

void Twordslist::setNextRound(const QString &text)
{
    label_nextround_->setText(text);
    label_nextround_->setVisible(!text.isEmpty());
}

void Twordslist::button_allwordsClick()
{
    hide();
}

void Twordslist::setMinLetters(int minletters)
{
    reviewer_->setMinLetters(minletters);
}

void Twordslist::setBoardView(QWidget *board)
{
    board_ = board;
}

void Twordslist::setDefinitions(WordNet *wordnet)
{
    definition_->setWordNet(wordnet);
}

void Twordslist::gameStarted()
{
    hide();
    // A review still waiting for the word list belongs to the game before.
    summaryAwaitsReview_ = false;
    summaryWanted_ = false;
    summary_.clear();
    summaryView_->showSummary(summary_);
    pages_->setTabEnabled(GamePage, false);
}

void Twordslist::roundStarted()
{
    summaryWanted_ = false;
    hide();
}

void Twordslist::gameOver()
{
    // The last round's review may still be waiting for the word list.
    summaryWanted_ = summaryAwaitsReview_;
    if (!summaryWanted_)
        showSummary();
}

void Twordslist::showSummary()
{
    summaryWanted_ = false;
    if (summary_.isEmpty())
        return;
    pages_->setCurrentIndex(GamePage);
    if (isVisible())
        raise();
    else
        show();
}

bool Twordslist::hasLastRound() const
{
    return reviewer_->isReady() || reviewer_->isWaiting();
}

void Twordslist::showLastRound()
{
    if (!hasLastRound())
        return;
    if (pages_->currentIndex() == ReviewPage)
        standBesideBoard();
    else
        pages_->setCurrentIndex(ReviewPage);
    show();
    raise();
    activateWindow();
}

QPoint Twordslist::position() const
{
    return besideBoard_ ? ownPlace_ : pos();
}

void Twordslist::setPosition(QPoint leftTop)
{
    if (besideBoard_)
        ownPlace_ = leftTop;
    else
        move(leftTop);
}

QRect Twordslist::boardOnScreen() const
{
    if (!board_)
        return {};
    return QRect(board_->mapToGlobal(QPoint(0, 0)), board_->size());
}

void Twordslist::pageChanged(int page)
{
    if (page == ReviewPage)
        standBesideBoard();
    else
        leaveBoardSide();
}

void Twordslist::standBesideBoard()
{
    const QRect board = boardOnScreen();
    if (board.isEmpty())
        return;
    if (!besideBoard_) {
        ownPlace_ = pos();
        besideBoard_ = true;
    } else if (pos() != placedAt_) {
        playerOffset_ = pos() - board.topLeft();
    }
    const QScreen *screen = QGuiApplication::screenAt(board.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect work = screen->availableGeometry();
    const QSize frame = frameGeometry().size();
    QPoint place = ReviewPlacement::besideBoard(board, frame, work);
    // Where the player moved the review before, while that is still clear of the board.
    if (playerOffset_) {
        const QRect wanted(board.topLeft() + *playerOffset_, frame);
        if (!wanted.intersects(board) && work.contains(wanted))
            place = wanted.topLeft();
    }
    move(place);
    placedAt_ = place;
}

void Twordslist::leaveBoardSide()
{
    if (!besideBoard_)
        return;
    if (pos() != placedAt_)
        playerOffset_ = pos() - boardOnScreen().topLeft();
    besideBoard_ = false;
    move(ownPlace_);
}

void Twordslist::showEvent(QShowEvent *event)
{
    if (pages_->currentIndex() == ReviewPage) {
        // The main window may have moved while this one was hidden.
        standBesideBoard();
    } else {
        // A place kept from a screen that is no longer there would put the window out
        // of reach: bring it back to the default place.
        const QPoint grip = pos() + QPoint(40, 10);
        if (!QGuiApplication::screenAt(grip) && QGuiApplication::primaryScreen()) {
            const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
            move(screen.topLeft() + defaultPosition);
        }
    }
    showBoardNote();
    SideWindow::showEvent(event);
}

void Twordslist::showReview()
{
    const bool available = hasLastRound();
    if (reviewer_->isReady() && summaryAwaitsReview_) {
        summaryAwaitsReview_ = false;
        summary_.addRound(reviewer_->result());
        summaryView_->showSummary(summary_);
        pages_->setTabEnabled(GamePage, true);
        if (summaryWanted_)
            showSummary();
    }
    Q_EMIT lastRoundChanged(available);
    if (reviewer_->isWaiting()) {
        review_->clearReview();
        label_summary_->setText(tr("Finding every word on the board\u2026"));
        pages_->setTabText(ReviewPage, tr("Every Word"));
        return;
    }
    if (!reviewer_->isReady()) {
        review_->clearReview();
        label_summary_->clear();
        pages_->setTabText(ReviewPage, tr("Every Word"));
        return;
    }
    const RoundReview &review = reviewer_->result();
    review_->showReview(review);
    definition_->showHint();
    label_summary_->setText(review.summary());
    pages_->setTabText(ReviewPage, tr("Every Word (%1)").arg(review.total()));
    showBoardNote();
}

void Twordslist::showBoardNote()
{
    label_boardnote_->setVisible(reviewer_->isReady() && !reviewer_->reviewsCurrentBoard());
}

void Twordslist::wordChosen(const QString &word, const QList<Cell> &path)
{
    definition_->showWord(word);
    // The board may have moved on to the next round since: a path belongs on its own board only.
    if (reviewer_->reviewsCurrentBoard())
        Q_EMIT pathChosen(path);
}
