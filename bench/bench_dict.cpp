// isword on the record file read into memory against an in-memory hash set of the same words,
// on the same random mix of hits and misses.
#include "tdictn.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

struct Fixture
{
    QTemporaryDir dir;
    std::unique_ptr<TDictn> loaded, reads;
    std::unordered_set<std::string> set;
    std::vector<std::string> queries; // half hits, half misses, shuffled
    static constexpr size_t queryCount = size_t(1) << 20;

    Fixture()
    {
        loaded = std::make_unique<TDictn>(dir.path(), TDictn::builtinResource);
        reads = std::make_unique<TDictn>(dir.path(), TDictn::builtinResource, nullptr, TDictn::Access::Reads);
        QFile f(loaded->filePath());
        f.open(QIODevice::ReadOnly);
        const QByteArray block = f.readAll();
        std::vector<std::string> words;
        for (qsizetype i = 0; i + 15 <= block.size(); i += 15) {
            std::string w(block.constData() + i + 1, 14);
            w.erase(w.find_last_not_of(' ') + 1);
            for (char &c : w)
                c = char(c - 'A' + 'a');
            set.insert(w);
            words.push_back(w);
        }
        std::mt19937 rng(7772);
        for (size_t i = 0; i < queryCount; ++i) {
            std::string w = words[rng() % words.size()];
            if (i % 2) // a miss: one letter changed, the usual near-word a player tries
                w[rng() % w.size()] = char('a' + rng() % 26);
            queries.push_back(w);
        }
        std::shuffle(queries.begin(), queries.end(), rng);
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

void BM_iswordLoaded(benchmark::State &state)
{
    auto &f = fixture();
    // A small query set stays in the caches; the large one is mostly cache misses.
    const size_t mask = size_t(state.range(0)) - 1;
    size_t i = 0;
    for (auto _ : state) {
        const std::string &q = f.queries[i++ & mask];
        benchmark::DoNotOptimize(f.loaded->isword(QByteArrayView(q.data(), qsizetype(q.size()))));
    }
}

void BM_iswordReads(benchmark::State &state)
{
    auto &f = fixture();
    // A small query set stays in the caches; the large one is mostly cache misses.
    const size_t mask = size_t(state.range(0)) - 1;
    size_t i = 0;
    for (auto _ : state) {
        const std::string &q = f.queries[i++ & mask];
        benchmark::DoNotOptimize(f.reads->isword(QByteArrayView(q.data(), qsizetype(q.size()))));
    }
}

void BM_hashSet(benchmark::State &state)
{
    auto &f = fixture();
    // A small query set stays in the caches; the large one is mostly cache misses.
    const size_t mask = size_t(state.range(0)) - 1;
    size_t i = 0;
    for (auto _ : state) {
        const std::string &q = f.queries[i++ & mask];
        benchmark::DoNotOptimize(f.set.count(q));
    }
}

// Start-up cost: opening the existing file, mapping it and indexing it, and the
// same with writing it from the built-in block first.
void BM_open(benchmark::State &state)
{
    const bool write = state.range(0) != 0;
    QTemporaryDir dir;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(dir.filePath(TDictn::fileName));
        if (!write)
            QFile::copy(TDictn::builtinResource, dir.filePath(TDictn::fileName));
        state.ResumeTiming();
        auto spell = std::make_unique<TDictn>(dir.path(), TDictn::builtinResource);
        benchmark::DoNotOptimize(spell->isIndexed());
        state.PauseTiming();
        spell.reset();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_iswordLoaded)->Arg(4096)->Arg(Fixture::queryCount);
BENCHMARK(BM_hashSet)->Arg(4096)->Arg(Fixture::queryCount);
BENCHMARK(BM_iswordReads)->Arg(4096);
BENCHMARK(BM_open)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
