// The chat's cost per line: cutting a relayed line, and showing it in a view that
// already holds a long chat, with the player's colour unchanged (the common case)
// or changed (every earlier line of that player is repainted).
#include "chatview.h"
#include "codedline.h"
#include "colortext.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

const QString typicalLine = QStringLiteral("3+Ann chats: nice one :)#12 see www.example.com for the rules");

void BM_parseLine(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(CodedLine::parse(typicalLine));
}

void BM_colourText(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ColorText::fromText(QStringLiteral("$00563412")));
}

// Arg 0: lines already in the view (spread over four players); arg 1: whether the
// new line changes its player's colour.
void BM_addLine(benchmark::State &state)
{
    const int existing = int(state.range(0));
    const bool recolour = state.range(1) != 0;
    ChatView view;
    view.resize(300, 190);
    const QColor colours[] = {Qt::darkBlue, Qt::darkGreen};
    for (int i = 0; i < existing; ++i)
        view.addlinetochat(
            QStringLiteral("%1+P%1 chats: line %2 with a few more words :)#10").arg(1 + i % 4).arg(i),
            colours[0]);
    int n = 0;
    for (auto _ : state) {
        view.addlinetochat(typicalLine, colours[recolour ? (++n % 2) : 0]);
        state.PauseTiming();
        QApplication::processEvents(); // lay out and paint what the line changed
        state.ResumeTiming();
    }
}

// One line of about 60,000 characters, as a peer may send: arg 0 picks its words,
// blanks (0), short words (1), smilies (2) or links (3).
void BM_addLongLine(benchmark::State &state)
{
    const QString pieces[]
        = {QStringLiteral(" "), QStringLiteral("ab "), QStringLiteral(":)#10"), QStringLiteral("www.a ")};
    const QString &piece = pieces[state.range(0)];
    const QString line = QStringLiteral("3+Ann chats: ") + piece.repeated(60000 / piece.size());
    for (auto _ : state) {
        state.PauseTiming();
        ChatView view;
        view.resize(300, 190);
        state.ResumeTiming();
        view.addlinetochat(line, Qt::darkBlue);
        QApplication::processEvents();
    }
}

} // namespace

BENCHMARK(BM_parseLine);
BENCHMARK(BM_colourText);
BENCHMARK(BM_addLine)->Args({100, 0})->Args({10000, 0})->Unit(benchmark::kMicrosecond);
// Each timed line adds to the player's lines, so the count is kept small: 25 + 10
// of that player's lines on average for 100, 2,500 + 10 for 10,000.
BENCHMARK(BM_addLine)->Args({100, 1})->Args({10000, 1})->Iterations(20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_addLongLine)->DenseRange(0, 3)->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
