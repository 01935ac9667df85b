// What the side windows cost at start-up, where the program creates them all, and
// the drawing of their pictures.
#include "artwork.h"
#include "tabout.h"
#include "tdownload.h"
#include "tgamestart.h"
#include "thelp.h"
#include "tphrases.h"
#include "tsolo.h"
#include "tspylist.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

void createAllSideWindows(benchmark::State &state)
{
    for (auto _ : state) {
        Tabout about;
        Tspylist spies;
        Tgamestart options;
        Thelp help;
        Tphrases phrases;
        Tdownload download;
        Tsolo solo;
        benchmark::DoNotOptimize(&help);
    }
}
BENCHMARK(createAllSideWindows)->Unit(benchmark::kMillisecond);

void createHelpWindow(benchmark::State &state)
{
    for (auto _ : state) {
        Thelp help;
        benchmark::DoNotOptimize(&help);
    }
}
BENCHMARK(createHelpWindow)->Unit(benchmark::kMillisecond);

void drawBackgroundTile(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Artwork::backgroundTile());
}
BENCHMARK(drawBackgroundTile)->Unit(benchmark::kMicrosecond);

void drawEveryPicture(benchmark::State &state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(Artwork::logo());
        benchmark::DoNotOptimize(Artwork::aboutPicture());
        benchmark::DoNotOptimize(Artwork::soloPicture());
        benchmark::DoNotOptimize(Artwork::downloadPicture());
        benchmark::DoNotOptimize(Artwork::startPicture());
        for (bool checked : {false, true})
            benchmark::DoNotOptimize(Artwork::checkPicture(checked));
        for (int side : {0, 4, 5, 6, 7, 8, 9, 10})
            benchmark::DoNotOptimize(Artwork::boardSizeIcon(side));
    }
}
BENCHMARK(drawEveryPicture)->Unit(benchmark::kMicrosecond);

void addAndRemoveSpies(benchmark::State &state)
{
    Tspylist spies;
    for (auto _ : state) {
        for (int slot = 11; slot < 111; ++slot)
            spies.addspy(slot, QStringLiteral("Watcher"));
        for (int slot = 110; slot >= 11; --slot)
            spies.removespy(slot, QStringLiteral("Watcher"));
    }
    state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(addAndRemoveSpies)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
