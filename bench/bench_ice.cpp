// A claim and its verdict over a player's connection to the host: straight over TCP on
// loopback; through the two bridges over an ICE stream between agents on loopback; and
// through the bridges over a TURN relay (coturn on 127.0.0.1, relayed pairs only, as
// when only the relay works). What the bridged path takes more than the direct one is
// the bridges' and agents' own cost; the relay adds its own hops on top. CPU time is
// the whole process's (host, bridges, agents and player) per claim and verdict.
//
// The relay needs coturn's turnserver on the PATH; that benchmark is skipped without it.
#include "fakehostenvironment.h"
#include "fakesignalchannel.h"
#include "icegateway.h"
#include "icejoiner.h"
#include "iceserversource.h"
#include "protocolclient.h"
#include "tserver.h"
#include "wire.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QMessageAuthenticationCode>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUdpSocket>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// coturn on loopback, relaying to loopback, with credentials made as Prosody makes them.
struct Relay
{
    QTemporaryDir dir;
    QProcess process;
    quint16 port = 0;
    IceServers servers;

    bool start()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("turnserver")).isEmpty())
            return false;
        QUdpSocket probe;
        probe.bind(QHostAddress::LocalHost, 0);
        port = probe.localPort();
        probe.close();
        const QString secret = QStringLiteral("bench-secret");
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral("turnserver"),
            {"-n", "--listening-ip=127.0.0.1", "--relay-ip=127.0.0.1",
                QStringLiteral("--listening-port=%1").arg(port), "--allow-loopback-peers",
                "--use-auth-secret", "--static-auth-secret=" + secret, "--realm=bench", "--no-tls",
                "--no-dtls", "--no-cli", "--log-file=stdout", "--pidfile=" + dir.filePath("turn.pid"),
                "--userdb=" + dir.filePath("turndb")});
        QByteArray said;
        while (!said.contains("Total General servers")) {
            if (!process.waitForReadyRead(10000))
                return false;
            said += process.readAll();
        }
        const QString username = QString::number(QDateTime::currentSecsSinceEpoch() + 3600);
        const QByteArray password
            = QMessageAuthenticationCode::hash(username.toUtf8(), secret.toUtf8(), QCryptographicHash::Sha1)
                  .toBase64();
        servers.relays = {{QHostAddress::LocalHost, port, username, QString::fromLatin1(password)}};
        return true;
    }
    ~Relay()
    {
        process.kill();
        process.waitForFinished();
    }
};

enum class Way { Direct, Bridged, Relayed };

// A host and one player in a game, the player connected the given way.
struct Game
{
    FakeHostEnvironment environment;
    TServer server {environment, seededDraw(1)};
    FakeSignalChannel joinerSide {QStringLiteral("Ann")};
    FakeSignalChannel hostSide {QStringLiteral("Host")};
    IceServerSource servers {nullptr};
    std::unique_ptr<IceGateway> gateway;
    std::unique_ptr<IceJoiner> joiner;
    ProtocolClient player;
    QList<Wire::Tile> tiles;
    int slot = 0;

    bool start(Way way, const IceServers &relay)
    {
        server.listen(0, QHostAddress::LocalHost);
        quint16 port = server.port();
        if (way != Way::Direct) {
            IceAgent::Setup agent;
            agent.localAddresses = {QHostAddress::LocalHost};
            agent.allowLoopback = true;
            agent.forceRelay = way == Way::Relayed;
            servers.setFixed(way == Way::Relayed ? relay : IceServers());
            joinerSide.pair(&hostSide);
            gateway = std::make_unique<IceGateway>(
                hostSide, servers, IceGateway::Setup {port, agent, IceBridge::Timing(), 12, 40000});
            gateway->setAccepting(true);
            joiner = std::make_unique<IceJoiner>(joinerSide, servers, agent);
            QSignalSpy connected(joiner.get(), &IceJoiner::connected);
            joiner->start(QStringLiteral("Host"));
            if (!connected.wait(20000))
                return false;
            port = joiner->localPort();
        }
        slot = player.join(port, "Ann");
        if (slot == 0)
            return false;
        player.send(Wire::ToHost::startgame(QStringLiteral("Ann"), 0, 3600, 4, 3));
        const QByteArray board = player.waitFor(Wire::Cmd::loadboard.toByteArray());
        if (board.isEmpty() || player.waitFor(Wire::Cmd::nextplayer.toByteArray()).isEmpty())
            return false;
        tiles = ProtocolClient::threeInARow(board);
        return !tiles.isEmpty();
    }

    // One claim and its verdict (not a word of the host's, or claimed before: either way
    // the host judges it and answers).
    bool claim()
    {
        player.send(Wire::ToHost::playerdone(slot, tiles));
        for (QByteArray m = player.next(); !m.isEmpty(); m = player.next())
            if (m.startsWith(Wire::Cmd::notvalid) || m.startsWith(Wire::Cmd::goodword))
                return true;
        return false;
    }
};

void claimToVerdict(benchmark::State &state, Way way)
{
    Relay relay;
    if (way == Way::Relayed && !relay.start()) {
        state.SkipWithError("coturn's turnserver could not be started");
        return;
    }
    Game game;
    if (!game.start(way, relay.servers)) {
        state.SkipWithError("the player could not join");
        return;
    }
    for (auto _ : state)
        if (!game.claim()) {
            state.SkipWithError("no verdict came");
            return;
        }
    if (game.joiner)
        state.counters["path"] = double(int(game.joiner->path()));
}

void BM_claimToVerdictDirect(benchmark::State &state)
{
    claimToVerdict(state, Way::Direct);
}
BENCHMARK(BM_claimToVerdictDirect)->UseRealTime()->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

void BM_claimToVerdictBridged(benchmark::State &state)
{
    claimToVerdict(state, Way::Bridged);
}
BENCHMARK(BM_claimToVerdictBridged)->UseRealTime()->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

void BM_claimToVerdictRelayed(benchmark::State &state)
{
    claimToVerdict(state, Way::Relayed);
}
BENCHMARK(BM_claimToVerdictRelayed)->UseRealTime()->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
