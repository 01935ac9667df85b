// The host judging claims from 10 players over loopback. Every player claims real
// words found on the dealt 10x10 board with the built-in word list, one claim at a
// time, each as soon as the previous one is answered. Reports claims judged per
// second and the claim-to-reply latency (median and 99th percentile), with the
// 10 ms dispatch tick the program uses and, for the host's own cost, with none.
#include "hostenvironment.h"
#include "tdictn.h"
#include "tserver.h"
#include "wire.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

constexpr int players = 10;
constexpr char terminator = char(0xFF);

class BenchEnvironment : public HostEnvironment
{
public:
    BenchEnvironment()
        : spell(folder.path(), TDictn::builtinResource)
    { }
    bool isword(QByteArrayView word) const override { return spell.isword(word); }
    int pauseBetweenRounds() const override { return 10; }
    bool autoStartNextGame() const override { return false; }

    QTemporaryDir folder;
    TDictn spell;
};

// Every word of the built-in list, and every prefix of one, for the board search.
struct WordList
{
    std::unordered_set<std::string> words, prefixes;

    WordList()
    {
        QFile f(TDictn::builtinResource);
        f.open(QIODevice::ReadOnly);
        const QByteArray block = f.readAll();
        for (qsizetype i = 0; i + TDictn::recordSize <= block.size(); i += TDictn::recordSize) {
            std::string w(block.constData() + i + 1, TDictn::recordSize - 1);
            w.erase(w.find_last_not_of(' ') + 1);
            if (w.size() < 3 || w.size() > 12)
                continue;
            words.insert(w);
            for (size_t n = 1; n < w.size(); ++n)
                prefixes.insert(w.substr(0, n));
        }
    }
};

const WordList &wordList()
{
    static const WordList list;
    return list;
}

using Path = std::vector<Wire::Tile>;

// Every word on the board with one path for it.
std::vector<Path> solve(const Wire::BoardCells &board)
{
    const WordList &list = wordList();
    std::vector<Path> found;
    std::unordered_set<std::string> seen;
    Path path;
    std::string word;
    bool used[10][10] = {};
    auto visit = [&](auto &&self, int row, int col) -> void {
        const int code = board[size_t(row)][size_t(col)];
        if (code < 1 || code > 26 || used[row][col] || path.size() >= 12)
            return;
        used[row][col] = true;
        path.push_back({row, col});
        word.push_back(char('A' + code - 1));
        if (list.words.count(word) && seen.insert(word).second)
            found.push_back(path);
        if (list.prefixes.count(word))
            for (int dr = -1; dr <= 1; ++dr)
                for (int dc = -1; dc <= 1; ++dc)
                    if ((dr || dc) && row + dr >= 0 && row + dr < 10 && col + dc >= 0 && col + dc < 10)
                        self(self, row + dr, col + dc);
        word.pop_back();
        path.pop_back();
        used[row][col] = false;
    };
    for (int row = 0; row < 10; ++row)
        for (int col = 0; col < 10; ++col)
            visit(visit, row, col);
    return found;
}

// One player: logs in, reads the board, then claims its words one at a time.
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
    QElapsedTimer sent;
    std::vector<double> *latencies = nullptr;
    qint64 *judged = nullptr;

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

    void claimNext()
    {
        if (claims.empty())
            return;
        const Path &p = claims[next++ % claims.size()];
        sent.start();
        send(Wire::ToHost::playerdone(slot, p));
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
            latencies->push_back(double(sent.nsecsElapsed()) / 1e6);
            ++*judged;
            claimNext();
        }
    }
};

struct Rig
{
    BenchEnvironment env;
    std::mt19937 engine {7772};
    TServer server {
        env, [this](int bound) { return int(std::uniform_int_distribution<int>(0, bound - 1)(engine)); }};
    std::vector<std::unique_ptr<Player>> clients;
    std::vector<double> latencies;
    qint64 judged = 0;
    QTimer watchdog;

    Rig() { watchdog.start(100); }

    template<typename Pred>
    bool pump(Pred done)
    {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > 30000)
                return false;
            // One pass over what is pending, waiting for something when nothing is
            // (the watchdog timer wakes it at least every 100 ms).
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        return true;
    }

    bool start(int tickMs)
    {
        server.setDispatchInterval(tickMs);
        server.listen(0, QHostAddress::LocalHost);
        for (int i = 0; i < players; ++i) {
            clients.push_back(std::make_unique<Player>(server.port()));
            // Slot 1 first, as the host player's own window.
            if (!pump([&] { return clients.back()->loggedIn; }))
                return false;
        }
        clients.front()->send(Wire::ToHost::startgame(QStringLiteral("Bench1"), 100000, 3000, 7, 3));
        if (!pump([&] {
                return std::all_of(clients.begin(), clients.end(), [](auto &c) { return c->roundOn; });
            }))
            return false;
        std::vector<Path> words = solve(clients.front()->board);
        for (auto &c : clients) {
            // Each player claims every word, in its own order: first finders and later finders.
            std::shuffle(words.begin(), words.end(), engine);
            c->claims = words;
            c->latencies = &latencies;
            c->judged = &judged;
        }
        return !words.empty();
    }
};

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

void BM_claimsJudged(benchmark::State &state)
{
    Rig rig;
    if (!rig.start(int(state.range(0)))) {
        state.SkipWithError("the game did not start");
        return;
    }
    for (auto &c : rig.clients)
        c->claimNext();
    rig.latencies.clear();
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
    state.counters["claims"] = double(rig.judged - before);
    state.counters["words_on_board"] = double(rig.clients.front()->claims.size());
}

} // namespace

BENCHMARK(BM_claimsJudged)->Arg(10)->Iterations(1500)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_claimsJudged)->Arg(0)->Iterations(20000)->UseRealTime()->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
