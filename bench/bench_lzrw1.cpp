// Throughput of the tally file's codec (the LZRW1/KH container, through the file driver
// on memory buffers) next to zlib at level 1, on the same English text; and the cost of
// one save of the tally file, which runs on the GUI thread after every counted game.
#include "tallylist.h"
#include "tdictn.h"
#include "tlzrw1.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <random>
#include <vector>

namespace {

// Prose made of the built-in word list: word frequencies follow Zipf's law over a
// shuffled vocabulary, as in running English text, with capitals, commas, full stops
// and paragraphs.
QByteArray generatedProse(qsizetype size)
{
    QFile list(TDictn::builtinResource);
    list.open(QIODevice::ReadOnly);
    const QByteArray records = list.readAll();
    std::vector<QByteArray> words;
    for (qsizetype i = 0; i + 15 <= records.size(); i += 15)
        words.push_back(records.mid(i + 1, 14).trimmed().toLower());
    std::mt19937 rng(7772);
    std::shuffle(words.begin(), words.end(), rng);
    words.resize(std::min<size_t>(words.size(), 30000));

    std::vector<double> weights(words.size());
    for (size_t rank = 0; rank < weights.size(); ++rank)
        weights[rank] = 1.0 / double(rank + 1);
    std::discrete_distribution<size_t> pick(weights.begin(), weights.end());

    QByteArray text;
    text.reserve(size + 64);
    int inSentence = 0, inParagraph = 0;
    while (text.size() < size) {
        QByteArray word = words[pick(rng)];
        if (inSentence == 0 && !word.isEmpty())
            word[0] = char(word[0] - 'a' + 'A');
        text += word;
        ++inSentence;
        if (inSentence > 6 && rng() % 8 == 0) {
            text += '.';
            inSentence = 0;
            if (++inParagraph > 5 && rng() % 3 == 0) {
                text += "\r\n\r\n";
                inParagraph = 0;
                continue;
            }
        } else if (rng() % 12 == 0) {
            text += ',';
        }
        text += ' ';
    }
    text.truncate(size);
    return text;
}

// The word list itself as text, one lower-case word a line.
QByteArray wordListText()
{
    QFile list(TDictn::builtinResource);
    list.open(QIODevice::ReadOnly);
    const QByteArray records = list.readAll();
    QByteArray text;
    for (qsizetype i = 0; i + 15 <= records.size(); i += 15)
        text += records.mid(i + 1, 14).trimmed().toLower() + "\r\n";
    return text;
}

const QByteArray &sample(int which)
{
    static const QByteArray prose = generatedProse(4 << 20);
    static const QByteArray wordList = wordListText();
    return which == 0 ? prose : wordList;
}

const char *sampleName(int which)
{
    return which == 0 ? "prose" : "word list";
}

QByteArray lzrw1Pack(const QByteArray &data)
{
    QBuffer in, out;
    in.setData(data);
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    Tlzrw1().compressDevice(in, out);
    return out.data();
}

void BM_lzrw1Compress(benchmark::State &state)
{
    const QByteArray &data = sample(int(state.range(0)));
    QByteArray packed;
    packed.reserve(data.size() + data.size() / 32);
    Tlzrw1 codec;
    for (auto _ : state) {
        packed.resize(0);
        QBuffer in, out(&packed);
        in.setData(data);
        in.open(QIODevice::ReadOnly);
        out.open(QIODevice::WriteOnly);
        benchmark::DoNotOptimize(codec.compressDevice(in, out));
    }
    state.SetLabel(sampleName(int(state.range(0))));
    state.SetBytesProcessed(state.iterations() * data.size());
    state.counters["ratio"] = double(packed.size()) / double(data.size());
}

void BM_lzrw1Decompress(benchmark::State &state)
{
    const QByteArray &data = sample(int(state.range(0)));
    const QByteArray packed = lzrw1Pack(data);
    QByteArray unpacked;
    unpacked.reserve(data.size());
    Tlzrw1 codec;
    for (auto _ : state) {
        unpacked.resize(0);
        QBuffer in, out(&unpacked);
        in.setData(packed);
        in.open(QIODevice::ReadOnly);
        out.open(QIODevice::WriteOnly);
        benchmark::DoNotOptimize(codec.decompressDevice(in, out));
    }
    if (unpacked != data)
        state.SkipWithError("round trip failed");
    state.SetLabel(sampleName(int(state.range(0))));
    state.SetBytesProcessed(state.iterations() * data.size());
}

void BM_zlib1Compress(benchmark::State &state)
{
    const QByteArray &data = sample(int(state.range(0)));
    std::vector<Bytef> packed(compressBound(uLong(data.size())));
    uLongf packedSize = 0;
    for (auto _ : state) {
        packedSize = uLongf(packed.size());
        compress2(packed.data(), &packedSize, reinterpret_cast<const Bytef *>(data.constData()),
            uLong(data.size()), 1);
        benchmark::DoNotOptimize(packed.data());
    }
    state.SetLabel(sampleName(int(state.range(0))));
    state.SetBytesProcessed(state.iterations() * data.size());
    state.counters["ratio"] = double(packedSize) / double(data.size());
}

void BM_zlib1Decompress(benchmark::State &state)
{
    const QByteArray &data = sample(int(state.range(0)));
    std::vector<Bytef> packed(compressBound(uLong(data.size())));
    uLongf packedSize = uLongf(packed.size());
    compress2(
        packed.data(), &packedSize, reinterpret_cast<const Bytef *>(data.constData()), uLong(data.size()), 1);
    std::vector<Bytef> unpacked(size_t(data.size()));
    for (auto _ : state) {
        uLongf unpackedSize = uLongf(unpacked.size());
        uncompress(unpacked.data(), &unpackedSize, packed.data(), packedSize);
        benchmark::DoNotOptimize(unpacked.data());
    }
    state.SetLabel(sampleName(int(state.range(0))));
    state.SetBytesProcessed(state.iterations() * data.size());
}

// One save: the text layout into a private working copy, compression into a new file
// beside the tally, the sync to disk and the rename over the old file.
void BM_tallySave(benchmark::State &state)
{
    QTemporaryDir dir;
    TallyList list(dir.path());
    list.load();
    for (int i = 0; i < state.range(0); ++i)
        list.table()->appendOpponent(QStringLiteral("Player %1").arg(i));
    for (auto _ : state) {
        if (!list.save())
            state.SkipWithError("save failed");
    }
    state.SetLabel(QStringLiteral("%1 opponents, %2 bytes")
                       .arg(state.range(0))
                       .arg(QFileInfo(list.filePath()).size())
                       .toStdString());
}

} // namespace

BENCHMARK(BM_lzrw1Compress)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_zlib1Compress)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_lzrw1Decompress)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_zlib1Decompress)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_tallySave)->Arg(10)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
