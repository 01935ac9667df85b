// The README's figures for a busy community room, measured against a real Prosody on
// 127.0.0.1 (started from the tests' support): 499 seats in the room, 200 of them
// announcing games, then
//   - how long a lobby's seat takes from signing in to its full lists (500 people, 200
//     games), over several sign-ins;
//   - how long a host's change takes to reach the lists of 10 lobbies (the host's word
//     waits 150 ms for more changes first, by design);
//   - the memory of the real wendlewick-lobby program (its resident set) alone, and
//     signed in to that room.
// Run from a Release build: build/release/bench/measure_community
#include "communityaccount.h"
#include "gamelistmodel.h"
#include "peoplemodel.h"
#include "prosodyserver.h"
#include "roomannouncer.h"
#include "roomclient.h"
#include "roomlisting.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr int seats = 499;
constexpr int games = 200;
constexpr int lobbies = 10;

CommunityAccount account(const ProsodyServer &server, const QString &nick)
{
    CommunityAccount a;
    a.domain = server.domain();
    a.port = server.port();
    a.nick = nick;
    a.authorities = server.authorities();
    return a;
}

struct Lobby
{
    RoomClient client;
    RoomListing listing;
    explicit Lobby(const ProsodyServer &server, const QString &nick)
    {
        client.capture(QStringLiteral("game"), QStringLiteral("urn:x-wendlewick:game:1"));
        QObject::connect(
            &client, &RoomClient::occupantUpdated, &listing, [this](const RoomClient::Occupant &o) {
                listing.setContext(
                    client.ownNick(), client.account().domain, client.serverAddress().isLoopback());
                listing.update(o);
            });
        QObject::connect(&client, &RoomClient::occupantLeft, &listing, &RoomListing::remove);
        client.start(account(server, nick));
    }
};

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(v.size() / 2);
}

long residentKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// The lobby program's resident set, with `server` in its settings or none: once
// `ready` holds (its seat is in the room) and `settleMs` more have passed.
long lobbyMemory(const QString &program, const ProsodyServer *server, const QString &ca,
    const std::function<bool()> &ready, int settleMs)
{
    QTemporaryDir data;
    QFile ini(data.filePath(QStringLiteral("orinlobby.ini")));
    if (!ini.open(QIODevice::WriteOnly))
        return -1;
    ini.write("[Lobby]\r\nName=Measured\r\n");
    if (server)
        ini.write(QStringLiteral("[Community]\r\nServer=localhost:%1\r\n").arg(server->port()).toUtf8());
    ini.close();
    QProcess lobby;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("WENDLEWICK_DATA_DIR"), data.path());
    env.insert(QStringLiteral("WENDLEWICK_DISCOVERY"), QStringLiteral("off"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("WENDLEWICK_LOBBY_CA"), ca);
    lobby.setProcessEnvironment(env);
    lobby.start(program, {});
    if (!lobby.waitForStarted(10000) || !QTest::qWaitFor(ready, 60000))
        return -1;
    QTest::qWait(settleMs);
    const long kib = residentKiB(lobby.processId());
    lobby.terminate();
    lobby.waitForFinished(10000);
    return kib;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ProsodyServer server;
    if (!server.start()) {
        std::fprintf(stderr, "prosody: %s\n%s\n", qPrintable(server.errorString()), qPrintable(server.log()));
        return 1;
    }

    // The room: 499 seats, 200 announcing a game each.
    std::vector<std::unique_ptr<RoomClient>> room;
    std::vector<std::unique_ptr<RoomAnnouncer>> announcers;
    std::vector<DiscoveryWire::Game> described(games);
    QElapsedTimer filling;
    filling.start();
    for (int n = 0; n < seats; ++n) {
        room.push_back(std::make_unique<RoomClient>());
        room.back()->start(account(server, QStringLiteral("Player %1").arg(n)));
        if (n < games) {
            DiscoveryWire::Game &g = described[size_t(n)];
            g.port = 7772;
            g.players = 1;
            g.version = "1.0.7";
            g.hostName = "Host " + QByteArray::number(n);
            announcers.push_back(std::make_unique<RoomAnnouncer>(*room.back(), [&g] { return g; }));
            announcers.back()->setAddress(QStringLiteral("198.51.100.%1").arg(n % 250 + 1), 7772);
        }
        // A few at a time, as players arrive.
        if (n % 20 == 19)
            (void)QTest::qWaitFor(
                [&] { return std::all_of(room.begin(), room.end(), [](auto &c) { return c->isInRoom(); }); },
                60000);
    }
    if (!QTest::qWaitFor(
            [&] { return std::all_of(room.begin(), room.end(), [](auto &c) { return c->isInRoom(); }); },
            120000)) {
        std::fprintf(stderr, "the room did not fill\n");
        return 1;
    }
    std::printf("room of %d seats filled in %.1f s\n", seats, filling.elapsed() / 1000.0);

    // Signing in to full lists.
    QList<double> signIns;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        Lobby lobby(server, QStringLiteral("Newcomer %1").arg(i));
        if (!QTest::qWaitFor(
                [&] {
                    return lobby.listing.games()->rowCount() == games
                        && lobby.listing.people()->rowCount() == seats + 1;
                },
                60000)) {
            std::fprintf(stderr, "lists not full: %d games, %d people\n", lobby.listing.games()->rowCount(),
                lobby.listing.people()->rowCount());
            return 1;
        }
        signIns << t.elapsed();
    }
    std::printf("sign-in to full lists (500 people, 200 games): median %.0f ms, max %.0f ms (5 sign-ins)\n",
        median(signIns), *std::max_element(signIns.begin(), signIns.end()));

    // A host's change to every lobby's list.
    std::vector<std::unique_ptr<Lobby>> watchers;
    for (int i = 0; i < lobbies; ++i)
        watchers.push_back(std::make_unique<Lobby>(server, QStringLiteral("Watcher %1").arg(i)));
    (void)QTest::qWaitFor(
        [&] {
            return std::all_of(watchers.begin(), watchers.end(),
                [](auto &w) { return w->listing.games()->rowCount() == games; });
        },
        60000);
    QList<double> changes;
    for (int i = 0; i < 20; ++i) {
        const int n = (i * 37) % games;
        const quint8 players = quint8(described[size_t(n)].players % 9 + 1);
        described[size_t(n)].players = players;
        QTest::qWait(RoomAnnouncer::minGapMs); // a host words a change at most every 2 s
        QElapsedTimer t;
        t.start();
        announcers[size_t(n)]->gameChanged();
        const QString key = QStringLiteral("Player %1").arg(n);
        const bool seen = QTest::qWaitFor(
            [&] {
                return std::all_of(watchers.begin(), watchers.end(), [&](auto &w) {
                    const int row = w->listing.games()->rowOfKey(key);
                    return row >= 0 && w->listing.games()->game(row).game.players == players;
                });
            },
            10000);
        if (!seen) {
            std::fprintf(stderr, "a change did not arrive\n");
            return 1;
        }
        changes << t.elapsed();
    }
    std::printf(
        "a host's change to all %d lobbies' lists: median %.0f ms, max %.0f ms (20 changes; 150 ms of it "
        "is the host's wait for more changes)\n",
        lobbies, median(changes), *std::max_element(changes.begin(), changes.end()));
    watchers.clear();

    const QString program = QStringLiteral(WENDLEWICK_LOBBY_BIN);
    const QString ca = server.folder() + QStringLiteral("/cert.pem");
    const long alone = lobbyMemory(
        program, nullptr, ca, [] { return true; }, 4000);
    RoomClient &someone = *room.front();
    const long inRoom = lobbyMemory(
        program, &server, ca, [&someone] { return someone.occupants().contains(QStringLiteral("Measured")); },
        4000);
    std::printf(
        "wendlewick-lobby resident memory: %ld KiB without a room, %ld KiB in the room of 500 people and "
        "200 games\n",
        alone, inRoom);
    return 0;
}
