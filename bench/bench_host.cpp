// The host judging claims from players over loopback, every player in this process
// claiming real words of the dealt 10x10 board (the built-in word list). Each case
// runs with the host's dispatch (messages in arrival order, every waiting message
// each tick) and, for comparison, with the dispatch of 1.0.7 hosts (one message per
// 10 ms tick, taken from the connections in turn):
//
//   BM_flatOut         10 players, each claiming again as soon as its claim is judged:
//                      claims judged per second, claim-to-verdict median and p99.
//   BM_busyRound       9 players claiming every 110 ms each (about 80 messages a
//                      second): claim-to-verdict median and p99.
//   BM_sameWordRaces   8 players as above, and two more that claim the same new word
//                      1 to 5 ms apart: the share of races in which the first claim
//                      sent took the first-finder point.
#include "boardsolver.h"
#include "builtinwords.h"
#include "hostenvironment.h"
#include "tserver.h"
#include "wire.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr char terminator = char(0xFF);
constexpr int tickMs = 10;

class BenchEnvironment : public HostEnvironment
{
public:
    bool isword(QByteArrayView word) const override { return fixture().dict->isword(word); }
    int pauseBetweenRounds() const override { return 10; }
    bool autoStartNextGame() const override { return false; }
};

using Path = std::vector<Wire::Tile>;

// One path for every word the board holds.
std::vector<Path> solve(const Wire::BoardCells &cells)
{
    BoardSolver::Board board {};
    for (int r = 0; r < 10; ++r)
        for (int c = 0; c < 10; ++c)
            board[size_t(r)][size_t(c)] = cells[size_t(r)][size_t(c)];
    std::vector<Path> paths;
    for (const SolvedWord &w : BoardSolver(fixture().trie).solve(board)) {
        Path p;
        for (const BoardCell &cell : w.path)
            p.push_back({cell.row, cell.col});
        paths.push_back(std::move(p));
    }
    return paths;
}

// One player: logs in, reads the board, then claims when told to. Verdicts come back
// in the order of its claims, so each is matched with the oldest unanswered claim.
class Player : public QObject
{
public:
    QTcpSocket socket;
    QByteArray partial;
    int slot = 0;
    bool loggedIn = false;
    bool roundOn = false;
    Wire::BoardCells board {};
    std::vector<Path> claims;
    size_t next = 0;
    std::deque<QElapsedTimer> unanswered;
    std::vector<double> *latencies = nullptr;
    qint64 *judged = nullptr;
    bool claimOnVerdict = false;
    // The first-finder flag of each verdict, in order.
    std::vector<int> firstFlags;

    explicit Player(quint16 port)
    {
        connect(&socket, &QTcpSocket::readyRead, this, [this] { read(); });
        connect(&socket, &QTcpSocket::connected, this,
            [this] { socket.setSocketOption(QAbstractSocket::LowDelayOption, 1); });
        socket.connectToHost(QHostAddress::LocalHost, port);
    }

    void send(const QByteArray &bytes)
    {
        socket.write(bytes);
        socket.flush();
    }

    void claim(const Path &p)
    {
        unanswered.emplace_back().start();
        send(Wire::ToHost::playerdone(slot, p));
    }

    void claimNext()
    {
        if (!claims.empty())
            claim(claims[next++ % claims.size()]);
    }

    void read()
    {
        partial += socket.readAll();
        for (qsizetype end; (end = partial.indexOf(terminator)) >= 0;) {
            const QByteArray m = partial.first(end);
            partial.remove(0, end + 1);
            handle(m);
        }
    }

    void handle(const QByteArray &m)
    {
        if (m.startsWith("CMD_sendlogininfo+")) {
            slot = m.mid(18).toInt();
            send(Wire::ToHost::logininfo(slot, QStringLiteral("1.0.7"), QStringLiteral("Bench%1").arg(slot)));
        } else if (m.startsWith(QByteArray("CMD_newplayerinfo+" + QByteArray::number(slot) + "+"))) {
            loggedIn = true;
        } else if (m.startsWith("CMD_loadboard+")) {
            const QList<QByteArray> f = m.split('+');
            for (int i = 0; i < 100; ++i)
                board[size_t(i / 10)][size_t(i % 10)] = f.value(3 + 3 * i).toInt();
        } else if (m.startsWith("CMD_nextplayer+")) {
            roundOn = true;
        } else if (m.startsWith("CMD_goodword+") || m.startsWith("CMD_notvalid+")) {
            if (!unanswered.empty()) {
                if (latencies)
                    latencies->push_back(double(unanswered.front().nsecsElapsed()) / 1e6);
                unanswered.pop_front();
            }
            // CMD_goodword+slot+points+word+tiles+first; a rejection counts as not first.
            firstFlags.push_back(m.startsWith("CMD_goodword+") ? m.split('+').value(5).toInt() : 0);
            if (judged)
                ++*judged;
            if (claimOnVerdict)
                claimNext();
        }
    }
};

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

struct Rig
{
    BenchEnvironment env;
    std::mt19937 engine {7772};
    TServer server {
        env, [this](int bound) { return int(std::uniform_int_distribution<int>(0, bound - 1)(engine)); }};
    std::vector<std::unique_ptr<Player>> clients;
    std::vector<Path> words;
    std::vector<double> latencies;
    qint64 judged = 0;
    QTimer watchdog;

    explicit Rig(TServer::DispatchOrder order)
    {
        server.setDispatchOrder(order);
        server.setDispatchInterval(tickMs);
        watchdog.start(100);
    }

    template<typename Pred>
    bool pump(Pred done, int limitMs = 60000)
    {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > limitMs)
                return false;
            // One pass over what is pending, waiting for something when nothing is
            // (the watchdog timer wakes it at least every 100 ms).
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        return true;
    }

    void runFor(int ms)
    {
        QElapsedTimer t;
        t.start();
        pump([&] { return t.elapsed() >= ms; }, ms + 1000);
    }

    // `players` log in (slot 1 first), slot 1 starts a long game, and every word of
    // the board is known.
    bool start(int players)
    {
        server.listen(0, QHostAddress::LocalHost);
        for (int i = 0; i < players; ++i) {
            clients.push_back(std::make_unique<Player>(server.port()));
            if (!pump([&] { return clients.back()->loggedIn; }))
                return false;
        }
        clients.front()->send(Wire::ToHost::startgame(QStringLiteral("Bench1"), 100000, 3000, 7, 3));
        if (!pump([&] {
                return std::all_of(clients.begin(), clients.end(), [](auto &c) { return c->roundOn; });
            }))
            return false;
        words = solve(clients.front()->board);
        std::shuffle(words.begin(), words.end(), engine);
        return words.size() > 200;
    }

    // Each of `players` claims `paths` in its own order, first finder or later finder.
    void deal(
        const std::vector<std::unique_ptr<Player>>::iterator first, size_t players, std::vector<Path> paths)
    {
        for (auto c = first; c != first + std::ptrdiff_t(players); ++c) {
            std::shuffle(paths.begin(), paths.end(), engine);
            (*c)->claims = paths;
            (*c)->latencies = &latencies;
            (*c)->judged = &judged;
        }
    }

    // Every player of `paced` claims every 110 ms, their claims spread over the period.
    std::vector<std::unique_ptr<QTimer>> pace(size_t players)
    {
        std::vector<std::unique_ptr<QTimer>> timers;
        for (size_t i = 0; i < players; ++i) {
            auto timer = std::make_unique<QTimer>();
            timer->setTimerType(Qt::PreciseTimer);
            Player *p = clients[i].get();
            QObject::connect(timer.get(), &QTimer::timeout, p, [p] { p->claimNext(); });
            QTimer::singleShot(int(i * 110 / players), timer.get(), [t = timer.get()] { t->start(110); });
            timers.push_back(std::move(timer));
        }
        return timers;
    }
};

TServer::DispatchOrder orderOf(const benchmark::State &state)
{
    return state.range(0) ? TServer::DispatchOrder::Arrival : TServer::DispatchOrder::InTurn;
}

void BM_flatOut(benchmark::State &state)
{
    Rig rig(orderOf(state));
    if (!rig.start(10)) {
        state.SkipWithError("the game did not start");
        return;
    }
    rig.deal(rig.clients.begin(), 10, rig.words);
    for (auto &c : rig.clients) {
        c->claimOnVerdict = true;
        c->claimNext();
    }
    const qint64 before = rig.judged;
    QElapsedTimer clock;
    clock.start();
    for (auto _ : state) {
        const qint64 target = rig.judged + 1;
        if (!rig.pump([&] { return rig.judged >= target; })) {
            state.SkipWithError("no reply");
            return;
        }
    }
    // A pass of the event loop may see several replies: count the claims themselves.
    state.counters["claims/s"] = double(rig.judged - before) / (double(clock.nsecsElapsed()) / 1e9);
    state.counters["median_ms"] = percentile(rig.latencies, 0.5);
    state.counters["p99_ms"] = percentile(rig.latencies, 0.99);
}

void BM_busyRound(benchmark::State &state)
{
    Rig rig(orderOf(state));
    if (!rig.start(9)) {
        state.SkipWithError("the game did not start");
        return;
    }
    rig.deal(rig.clients.begin(), 9, rig.words);
    for (auto _ : state) {
        auto timers = rig.pace(9);
        rig.runFor(10000);
    }
    state.counters["claims/s"] = double(rig.judged) / 10.0;
    state.counters["median_ms"] = percentile(rig.latencies, 0.5);
    state.counters["p99_ms"] = percentile(rig.latencies, 0.99);
}

void BM_sameWordRaces(benchmark::State &state)
{
    constexpr int races = 100;
    Rig rig(orderOf(state));
    if (!rig.start(10)) {
        state.SkipWithError("the game did not start");
        return;
    }
    // The racers' words are kept from the other players, so each race's word is new.
    const std::vector<Path> raceWords(rig.words.begin(), rig.words.begin() + races);
    rig.deal(rig.clients.begin(), 8, std::vector<Path>(rig.words.begin() + races, rig.words.end()));
    Player &a = *rig.clients[8];
    Player &b = *rig.clients[9];
    int kept = 0;
    for (auto _ : state) {
        auto timers = rig.pace(8);
        std::uniform_int_distribution<int> gap(1, 5);
        for (int i = 0; i < races; ++i) {
            // Alternate who claims first, so the slot order favours neither.
            Player &first = i % 2 ? a : b;
            Player &second = i % 2 ? b : a;
            const size_t seen = first.firstFlags.size();
            first.claim(raceWords[size_t(i)]);
            QTimer::singleShot(gap(rig.engine), Qt::PreciseTimer, &second,
                [&second, &raceWords, i] { second.claim(raceWords[size_t(i)]); });
            if (!rig.pump([&] {
                    return first.unanswered.empty() && second.unanswered.empty()
                        && first.firstFlags.size() > seen;
                })) {
                state.SkipWithError("no reply");
                return;
            }
            kept += first.firstFlags.back() == 1 ? 1 : 0;
            rig.runFor(30);
        }
    }
    state.counters["races"] = races;
    state.counters["first_sent_won_%"] = 100.0 * kept / races;
    state.counters["p99_ms"] = percentile(rig.latencies, 0.99);
}

} // namespace

// Argument: 0 the dispatch of 1.0.7 hosts, 1 arrival order (the host's).
BENCHMARK(BM_flatOut)->Arg(0)->Iterations(1000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_flatOut)->Arg(1)->Iterations(20000)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_busyRound)->Arg(0)->Arg(1)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_sameWordRaces)->Arg(0)->Arg(1)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
