// The round review on a dealt 10x10 board holding at least 1,000 words: making it when
// the round's words arrive, opening its page, and showing a chosen word's meaning from
// the installed WordNet (skipped where it is not installed).
#include "boardpanel.h"
#include "builtinwords.h"
#include "definitionview.h"
#include "lazywordtrie.h"
#include "randomboard.h"
#include "roundreviewer.h"
#include "roundreviewview.h"
#include "tilegroups.h"
#include "twordslist.h"
#include "wordentry.h"
#include "wordnet.h"
#include "wordresults.h"

#include <QApplication>
#include <QTabWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <random>

namespace {

// The player's window after a round on a board of at least 1,000 words, of which the
// player found the first 30 and others 60 more.
struct Review
{
    Review()
        : trie(*fixture().dict)
        , panel(&board, &entry, &tiles, &window)
        , list(&board, &trie, &results, &window)
    {
        trie.trie();
        std::mt19937 rng(7772u);
        QList<SolvedWord> words;
        BoardSolver solver(fixture().trie);
        while (words.size() < 1000) {
            cells = randomboard::deal(7, rng);
            words = solver.solve(cells);
        }
        BoardModel::Grid grid {};
        for (size_t r = 0; r < grid.size(); ++r)
            for (size_t c = 0; c < grid[r].size(); ++c)
                grid[r][c] = cells[r][c];
        board.loadboard(grid);
        wordCount = int(words.size());
        results.setMyslot(1);
        QByteArrayList found;
        for (qsizetype i = 0; i < 90 && i < words.size(); ++i) {
            found << words.at(i).word.toLatin1();
            if (i < 30)
                results.goodword(QByteArray("1+3+" + words.at(i).word.toLatin1() + "+3+1+"));
        }
        std::sort(found.begin(), found.end());
        roundList = found.join('+');
        list.setMinLetters(3);
        list.setBoardView(&panel);
        list.setDefinitions(&wordnet);
        window.resize(480, 480);
        window.show();
    }

    QWidget window;
    BoardModel board;
    WordEntry entry {&board};
    TileGroups tiles {QString()};
    WordResults results;
    LazyWordTrie trie;
    BoardPanel panel;
    Twordslist list;
    WordNet wordnet;
    BoardSolver::Board cells {};
    QByteArray roundList;
    int wordCount = 0;
};

// Kept to the end of the process: its widgets must not outlive the application, so it
// is never destroyed.
Review &review()
{
    static Review *r = new Review;
    return *r;
}

// The round's words arrive: the board is solved, grouped and put in the review's list,
// the game's summary gets its row, and the window shows.
void makeReview(benchmark::State &state)
{
    Review &r = review();
    for (auto _ : state) {
        state.PauseTiming();
        r.list.gameStarted();
        state.ResumeTiming();
        r.list.thewords(r.roundList);
        benchmark::DoNotOptimize(r.list.reviewView()->topLevelItemCount());
    }
    state.counters["words"] = r.list.reviewer()->result().total();
}
BENCHMARK(makeReview)->Unit(benchmark::kMillisecond);

// The player opens the review page: the window moves beside the board and is drawn.
void openReviewPage(benchmark::State &state)
{
    Review &r = review();
    r.list.thewords(r.roundList);
    for (auto _ : state) {
        state.PauseTiming();
        r.list.pages()->setCurrentIndex(Twordslist::WordsPage);
        r.list.grab();
        state.ResumeTiming();
        r.list.pages()->setCurrentIndex(Twordslist::ReviewPage);
        benchmark::DoNotOptimize(r.list.grab());
    }
    state.counters["words"] = r.list.reviewer()->result().total();
}
BENCHMARK(openReviewPage)->Unit(benchmark::kMillisecond);

// The player chooses one word after another: its path is drawn and its meaning shown.
void showMeaning(benchmark::State &state, bool firstLookup)
{
    Review &r = review();
    if (!r.wordnet.isAvailable()) {
        state.SkipWithError("WordNet is not installed (wordnet-base)");
        return;
    }
    r.list.thewords(r.roundList);
    r.list.pages()->setCurrentIndex(Twordslist::ReviewPage);
    RoundReviewView *view = r.list.reviewView();
    QTreeWidgetItem *nobody = view->groupItem(RoundReview::FoundByNobody);
    int n = 0;
    for (auto _ : state) {
        std::unique_ptr<WordNet> fresh;
        if (firstLookup) {
            state.PauseTiming();
            fresh = std::make_unique<WordNet>();
            r.list.setDefinitions(fresh.get());
            state.ResumeTiming();
        }
        view->setCurrentItem(nobody->child(n++ % nobody->childCount()));
        benchmark::DoNotOptimize(r.list.definitionView()->grab());
        if (firstLookup) {
            state.PauseTiming();
            r.list.setDefinitions(&r.wordnet);
            fresh.reset();
            state.ResumeTiming();
        }
    }
}
BENCHMARK_CAPTURE(showMeaning, later, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(showMeaning, first, true)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform warns at every raise(); the figures matter here, not that.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type != QtWarningMsg && type != QtDebugMsg && type != QtInfoMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
