// A busy community room as the lobby lists it: 500 people, 200 of them announcing
// games, with the lobby's own views attached (the window's game list, whose columns
// fit their contents; the people list, sorted). Each case is one change as the room
// client hands it over: a game's presence changing, someone arriving and leaving,
// and a whole room arriving at once, as when the lobby signs in.
#include "gamelistmodel.h"
#include "gamepayload.h"
#include "lobbywindow.h"
#include "peoplemodel.h"
#include "roomlisting.h"

#include <QApplication>
#include <QListView>
#include <QTreeView>

#include <memory>

#include <benchmark/benchmark.h>

namespace {

constexpr int people = 500;
constexpr int games = 200;

RoomClient::Occupant occupant(int n, int players = 1)
{
    RoomClient::Occupant o {QStringLiteral("Player %1").arg(n), {}};
    if (n < games) {
        DiscoveryWire::Game g;
        g.instance = quint64(n) + 1;
        g.port = 7772;
        g.players = quint8(players);
        g.version = "1.0.7";
        g.hostName = QByteArray("Host ") + QByteArray::number(n);
        o.payloads.append(GamePayload::encode(g, QStringLiteral("198.51.100.%1").arg(n % 250 + 1), 7772));
    }
    return o;
}

// A listing with the lobby's views on it, filled with the whole room.
struct Room
{
    RoomListing listing;
    std::unique_ptr<QTreeView> gameView;
    QListView peopleView;
    Room()
        : gameView(LobbyWindow::makeGameList(listing.games(), "list_internet", QStringLiteral("Games")))
    {
        listing.setContext(QStringLiteral("Me"), QStringLiteral("lobby.example.org"), false);
        peopleView.setModel(listing.people());
        peopleView.setUniformItemSizes(true);
        gameView->resize(600, 300);
        peopleView.resize(200, 300);
        gameView->show();
        peopleView.show();
        for (int n = 0; n < people; ++n)
            listing.update(occupant(n));
        QApplication::processEvents();
    }
};

void gameChanges(benchmark::State &state)
{
    Room room;
    int n = 0;
    int players = 1;
    for (auto _ : state) {
        room.listing.update(occupant(n, players));
        QApplication::processEvents(); // the views' layout and paint
        n = (n + 7) % games;
        players = players % 9 + 1;
    }
}
BENCHMARK(gameChanges)->Unit(benchmark::kMicrosecond);

void someoneArrivesAndLeaves(benchmark::State &state)
{
    Room room;
    for (auto _ : state) {
        room.listing.update({QStringLiteral("Newcomer"), {}});
        room.listing.remove(QStringLiteral("Newcomer"));
        QApplication::processEvents();
    }
}
BENCHMARK(someoneArrivesAndLeaves)->Unit(benchmark::kMicrosecond);

void aGameHostArrivesAndLeaves(benchmark::State &state)
{
    Room room;
    RoomClient::Occupant host = occupant(0, 3);
    host.nick = QStringLiteral("New host");
    for (auto _ : state) {
        room.listing.update(host);
        room.listing.remove(host.nick);
        QApplication::processEvents();
    }
}
BENCHMARK(aGameHostArrivesAndLeaves)->Unit(benchmark::kMicrosecond);

void theWholeRoomArrives(benchmark::State &state)
{
    for (auto _ : state) {
        Room room;
        benchmark::DoNotOptimize(room.listing.games()->rowCount());
    }
}
BENCHMARK(theWholeRoomArrives)->Unit(benchmark::kMillisecond);

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
