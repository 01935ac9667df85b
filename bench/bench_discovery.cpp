// Game discovery: the codec, the answer limit, and what a flood of queries costs a
// host (receiving, decoding and refusing them on loopback, all from one address, as
// a forged flood would come).
#include "answerlimit.h"
#include "discoveryconfig.h"
#include "discoveryresponder.h"
#include "discoverywire.h"

#include <QCoreApplication>
#include <QNetworkDatagram>
#include <QRandomGenerator>
#include <QUdpSocket>

#include <benchmark/benchmark.h>

namespace {

DiscoveryWire::Game sample()
{
    DiscoveryWire::Game g;
    g.kind = DiscoveryWire::Kind::Reply;
    g.instance = 42;
    g.port = 7772;
    g.players = 4;
    g.sizeCode = 7;
    g.minLetters = 4;
    g.target = 100;
    g.roundSeconds = 60;
    g.version = "1.0.7";
    g.hostName = "Anna Lee";
    return g;
}

void BM_decodeReply(benchmark::State &state)
{
    const QByteArray bytes = DiscoveryWire::encodeGame(sample());
    for (auto _ : state)
        benchmark::DoNotOptimize(DiscoveryWire::decode(bytes));
}
BENCHMARK(BM_decodeReply);

void BM_decodeQuery(benchmark::State &state)
{
    const QByteArray bytes = DiscoveryWire::encodeQuery(7);
    for (auto _ : state)
        benchmark::DoNotOptimize(DiscoveryWire::decode(bytes));
}
BENCHMARK(BM_decodeQuery);

void BM_decodeGarbage(benchmark::State &state)
{
    QByteArray bytes(DiscoveryWire::queryBytes, '\0');
    QRandomGenerator random(1);
    for (char &c : bytes)
        c = char(random.bounded(256));
    bytes.replace(0, 6, "WWDG\x01\x02");
    for (auto _ : state)
        benchmark::DoNotOptimize(DiscoveryWire::decode(bytes));
}
BENCHMARK(BM_decodeGarbage);

void BM_encodeReply(benchmark::State &state)
{
    const DiscoveryWire::Game game = sample();
    for (auto _ : state)
        benchmark::DoNotOptimize(DiscoveryWire::encodeGame(game));
}
BENCHMARK(BM_encodeReply);

// One address asking over and over: refused after its first answers.
void BM_limitOneSender(benchmark::State &state)
{
    AnswerLimit limit;
    const QHostAddress sender(QStringLiteral("192.168.1.20"));
    quint32 nonce = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(limit.allow(sender, ++nonce, 5));
}
BENCHMARK(BM_limitOneSender);

// Forged addresses, each new: the table fills, then every newcomer is turned away.
void BM_limitForgedSenders(benchmark::State &state)
{
    AnswerLimit limit;
    quint32 address = 0x0A000000;
    for (auto _ : state)
        benchmark::DoNotOptimize(limit.allow(QHostAddress(++address), 1, 5));
}
BENCHMARK(BM_limitForgedSenders);

// A host's responder under a flood of queries from one address over loopback (all
// but the first few refused): the time per query received, read and decoded.
void BM_responderFlood(benchmark::State &state)
{
    const int batch = int(state.range(0));
    DiscoveryResponder responder(DiscoveryConfig::loopback(), [] { return sample(); });
    if (!responder.start()) {
        state.SkipWithError("cannot bind");
        return;
    }
    auto *host = responder.findChild<QUdpSocket *>();
    QUdpSocket flooder;
    flooder.bind(QHostAddress::LocalHost, 0);
    quint32 nonce = 0;
    for (auto _ : state) {
        // Loopback delivers each datagram before writeDatagram returns.
        for (int i = 0; i < batch; ++i)
            flooder.writeDatagram(
                DiscoveryWire::encodeQuery(++nonce), QHostAddress::LocalHost, responder.port());
        while (host->hasPendingDatagrams())
            QCoreApplication::processEvents();
        while (flooder.hasPendingDatagrams())
            flooder.receiveDatagram();
    }
    state.SetItemsProcessed(state.iterations() * batch);
}
BENCHMARK(BM_responderFlood)->Arg(100)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
