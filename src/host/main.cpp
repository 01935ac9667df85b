// wendlewick-host: the game host without a window. The first connection gets slot 1
// and with it the host player's rights (starting games, removing players).
#include "botstrength.h"
#include "communityaccount.h"
#include "computerplayers.h"
#include "discoveryresponder.h"
#include "esockexception.h"
#include "gameaddress.h"
#include "gameannouncement.h"
#include "gamelink.h"
#include "gameports.h"
#include "headlessenvironment.h"
#include "hostannouncer.h"
#include "icegateway.h"
#include "iceserversource.h"
#include "lazywordtrie.h"
#include "roomclient.h"
#include "roomsignalchannel.h"
#include "stopsignals.h"
#include "tserver.h"
#include "wire.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QHostInfo>
#include <QRandomGenerator>
#include <QTextStream>

#include <cstdio>

namespace {

void logLine(const QString &text)
{
    QTextStream out(stdout);
    out << QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss ")) << text << Qt::endl;
}

QString quoted(const QString &name)
{
    return QLatin1Char('"') + Wire::printable(name) + QLatin1Char('"');
}

// The account and password for the community lobby: from `file` ("account=..." and
// "password=..." lines, as a service's credentials are kept) when given, else from the
// environment (WENDLEWICK_LOBBY_ACCOUNT, WENDLEWICK_LOBBY_PASSWORD). Empty account: a guest.
bool readCredentials(const QString &file, QString *account, QString *password, QString *error)
{
    *account = qEnvironmentVariable("WENDLEWICK_LOBBY_ACCOUNT").trimmed();
    *password = qEnvironmentVariable("WENDLEWICK_LOBBY_PASSWORD");
    if (file.isEmpty())
        return true;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(file, f.errorString());
        return false;
    }
    const QByteArray text = f.read(4096);
    for (const QByteArray &line : text.split('\n')) {
        const QByteArray l = line.endsWith('\r') ? line.chopped(1) : line;
        if (l.startsWith("account="))
            *account = QString::fromUtf8(l.mid(8)).trimmed();
        else if (l.startsWith("password="))
            *password = QString::fromUtf8(l.mid(9));
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("wendlewick-host"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(wendlewickVersion));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Hosts a Wendlewick game without playing in it. The first player to connect holds "
                       "slot 1: they start games and may remove players.\n"
                       "Lobbies on the local network find the game through UDP port %1; the environment "
                       "variable WENDLEWICK_DISCOVERY=off keeps the game unannounced.")
            .arg(DiscoveryWire::defaultPort));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
        QStringLiteral("TCP port to listen on (default %1).").arg(GamePorts::game), QStringLiteral("port"),
        QString::number(GamePorts::game));
    const QCommandLineOption pauseOption(QStringLiteral("pause"),
        QStringLiteral("Seconds between rounds (default 10)."), QStringLiteral("seconds"),
        QStringLiteral("10"));
    const QCommandLineOption graceOption(QStringLiteral("grace"),
        QStringLiteral("Seconds a player whose connection dropped during a game keeps the seat, to come back "
                       "to it (0 to %1, default %2; 0 never keeps it).")
            .arg(TServer::maxGraceSeconds)
            .arg(TServer::defaultGraceSeconds),
        QStringLiteral("seconds"), QString::number(TServer::defaultGraceSeconds));
    const QCommandLineOption autostartOption(
        QStringLiteral("autostart"), QStringLiteral("Start the next game by itself 60 seconds after a win."));
    const QCommandLineOption botsOption(QStringLiteral("bots"),
        QStringLiteral("Computer players to add once the first player has joined (0 to 5, default 0)."),
        QStringLiteral("count"), QStringLiteral("0"));
    const QCommandLineOption botLevelOption(QStringLiteral("bot-level"),
        QStringLiteral("Strength of the computer players: easy, medium or hard (default medium)."),
        QStringLiteral("level"), QStringLiteral("medium"));
    const QCommandLineOption lobbyServerOption(QStringLiteral("lobby-server"),
        QStringLiteral("Announce the game in the room of this community server (lobby.example.org[:port])."),
        QStringLiteral("server"));
    const QCommandLineOption lobbyRoomOption(QStringLiteral("lobby-room"),
        QStringLiteral("The room to announce it in (default lobby@rooms.<server>)."), QStringLiteral("room"));
    const QCommandLineOption lobbyNameOption(QStringLiteral("lobby-name"),
        QStringLiteral("The name shown in the room (default \"Host on <this computer>\")."),
        QStringLiteral("name"));
    const QCommandLineOption lobbyAddressOption(QStringLiteral("lobby-address"),
        QStringLiteral(
            "Where players on the internet connect, host[:port] (default: learned from the server)."),
        QStringLiteral("address"));
    const QCommandLineOption lobbyCredentialsOption(QStringLiteral("lobby-credentials"),
        QStringLiteral("A file with the lines account=NAME@DOMAIN and password=... to sign in with (default: "
                       "WENDLEWICK_LOBBY_ACCOUNT and WENDLEWICK_LOBBY_PASSWORD, else as a guest)."),
        QStringLiteral("file"));
    const QCommandLineOption lobbyCaOption(QStringLiteral("lobby-ca"),
        QStringLiteral("Trust the certificate authorities in this PEM file for the server, instead of the "
                       "system's."),
        QStringLiteral("file"));
    parser.addOptions(
        {portOption, pauseOption, graceOption, autostartOption, botsOption, botLevelOption, lobbyServerOption,
            lobbyRoomOption, lobbyNameOption, lobbyAddressOption, lobbyCredentialsOption, lobbyCaOption});
    parser.process(app);

    bool ok = false;
    const uint port = parser.value(portOption).toUInt(&ok);
    if (!ok || port > 65535) {
        std::fprintf(stderr, "wendlewick-host: --port needs a number from 0 to 65535\n");
        return 2;
    }
    const int pause = parser.value(pauseOption).toInt(&ok);
    if (!ok || pause < 1 || pause > 3600) {
        std::fprintf(stderr, "wendlewick-host: --pause needs a number of seconds from 1 to 3600\n");
        return 2;
    }
    const int grace = parser.value(graceOption).toInt(&ok);
    if (!ok || grace < 0 || grace > TServer::maxGraceSeconds) {
        std::fprintf(stderr, "wendlewick-host: --grace needs a number of seconds from 0 to %d\n",
            TServer::maxGraceSeconds);
        return 2;
    }

    const int bots = parser.value(botsOption).toInt(&ok);
    if (!ok || bots < 0 || bots > int(ComputerPlayers::spareNames().size())) {
        std::fprintf(stderr, "wendlewick-host: --bots needs a number from 0 to %d\n",
            int(ComputerPlayers::spareNames().size()));
        return 2;
    }
    const auto botLevel = BotStrength::levelFromName(parser.value(botLevelOption));
    if (!botLevel) {
        std::fprintf(stderr, "wendlewick-host: --bot-level needs easy, medium or hard\n");
        return 2;
    }

    CommunityAccount lobbyAccount;
    QString lobbyAddress;
    if (parser.isSet(lobbyServerOption)) {
        const auto fail = [](const QString &text) {
            std::fprintf(stderr, "wendlewick-host: %s\n", qPrintable(text));
            return 2;
        };
        if (QString problem = CommunityAccount::parseServer(
                parser.value(lobbyServerOption), &lobbyAccount.domain, &lobbyAccount.port);
            !problem.isEmpty())
            return fail(QStringLiteral("--lobby-server: ") + problem);
        lobbyAccount.host = lobbyAccount.domain;
        lobbyAccount.room = parser.value(lobbyRoomOption).trimmed();
        if (!lobbyAccount.room.isEmpty())
            if (QString problem = CommunityAccount::roomProblem(lobbyAccount.room); !problem.isEmpty())
                return fail(QStringLiteral("--lobby-room: ") + problem);
        lobbyAccount.nick = parser.isSet(lobbyNameOption)
            ? parser.value(lobbyNameOption).trimmed()
            : QStringLiteral("Host on %1").arg(QHostInfo::localHostName()).left(RoomClient::maxNickChars);
        if (lobbyAccount.nick.isEmpty() || lobbyAccount.nick.size() > RoomClient::maxNickChars)
            return fail(
                QStringLiteral("--lobby-name needs 1 to %1 characters").arg(RoomClient::maxNickChars));
        QString error;
        if (!readCredentials(
                parser.value(lobbyCredentialsOption), &lobbyAccount.account, &lobbyAccount.password, &error))
            return fail(error);
        if (!lobbyAccount.account.isEmpty())
            if (QString problem = CommunityAccount::accountProblem(lobbyAccount.account); !problem.isEmpty())
                return fail(problem);
        lobbyAddress = parser.value(lobbyAddressOption).trimmed();
        if (!lobbyAddress.isEmpty()) {
            const GameAddress::Target target = GameAddress::parse(lobbyAddress, GamePorts::game);
            if (QString problem = GameLink::addressProblem(target.host, target.port, true);
                !problem.isEmpty())
                return fail(QStringLiteral("--lobby-address: ") + problem);
        }
        if (parser.isSet(lobbyCaOption)) {
            lobbyAccount.authorities = QSslCertificate::fromPath(parser.value(lobbyCaOption));
            if (lobbyAccount.authorities.isEmpty())
                return fail(
                    QStringLiteral("--lobby-ca: no certificate in %1").arg(parser.value(lobbyCaOption)));
        }
    }

    HeadlessEnvironment environment(pause, parser.isSet(autostartOption));
    if (!environment.isReady()) {
        std::fprintf(stderr, "wendlewick-host: could not open the word list\n");
        return 1;
    }

    QRandomGenerator random(
        quint32(QDateTime::currentMSecsSinceEpoch()) ^ QRandomGenerator::system()->generate());
    TServer server(environment, [&random](int bound) { return int(random.bounded(bound)); });
    server.setGraceSeconds(grace);

    QObject::connect(&server, &TServer::playerAdmitted, [](int slot, const QString &name) {
        logLine(QStringLiteral("slot %1: %2 joined").arg(slot).arg(quoted(name)));
    });

    // The computer players wait for the first person: slot 1 starts the games, and a
    // computer player never does.
    LazyWordTrie trie(environment.dictionary());
    ComputerPlayers computerPlayers(
        trie,
        [&server] {
            QStringList names;
            for (int s = 1; s <= server.highestSlot(); ++s)
                if (server.slot(s).inUse)
                    names << Wire::fromWire(server.slot(s).name);
            return names;
        },
        random.generate());
    bool botsAdded = bots == 0;
    QObject::connect(&server, &TServer::playerAdmitted, &computerPlayers, [&](int slot) {
        if (slot != 1 || botsAdded)
            return;
        botsAdded = true;
        logLine(
            QStringLiteral("adding %1 %2 computer player(s)").arg(bots).arg(BotStrength::nameOf(*botLevel)));
        for (int i = 0; i < bots; ++i)
            computerPlayers.add(*botLevel, QHostAddress::LocalHost, server.port());
    });
    QObject::connect(&server, &TServer::playerLeft, [](int slot, const QString &name) {
        logLine(
            QStringLiteral("slot %1: %2 left")
                .arg(slot)
                .arg(name.isEmpty() ? QStringLiteral("a connection that never logged in") : quoted(name)));
    });
    QObject::connect(&server, &TServer::playerAway, [](int slot, const QString &name, int seconds) {
        logLine(QStringLiteral("slot %1: %2 lost the connection; the seat is kept for %3 s")
                    .arg(slot)
                    .arg(quoted(name))
                    .arg(seconds));
    });
    QObject::connect(&server, &TServer::playerReturned, [](int slot, const QString &name) {
        logLine(QStringLiteral("slot %1: %2 is back").arg(slot).arg(quoted(name)));
    });
    QObject::connect(&server, &TServer::returnRefused,
        [] { logLine(QStringLiteral("a returning connection showed no token of a kept seat: refused")); });
    QObject::connect(&server, &TServer::connectionRefused,
        [] { logLine(QStringLiteral("a connection was refused: all 10 slots are taken")); });
    QObject::connect(&server, &TServer::gameStarted,
        [](const QString &starter, int target, int seconds, int sizeCode, int minLetters) {
            logLine(QStringLiteral(
                "game started by %1: play to %2, %3 s rounds, board code %4, %5 letters minimum")
                        .arg(quoted(starter))
                        .arg(target)
                        .arg(seconds)
                        .arg(sizeCode)
                        .arg(minLetters));
        });
    QObject::connect(&server, &TServer::roundEnded, [&server](int round) {
        QStringList scores;
        for (int s = 1; s <= server.highestSlot(); ++s) {
            const TPlayerSlot &p = server.slot(s);
            if (p.inUse && p.loggedIn)
                scores << QStringLiteral("%1 %2 (+%3)")
                              .arg(Wire::printable(Wire::fromWire(p.name)))
                              .arg(p.gameScore)
                              .arg(p.roundScore);
        }
        logLine(QStringLiteral("round %1 over: %2").arg(round).arg(scores.join(QStringLiteral(", "))));
    });
    QObject::connect(&server, &TServer::winnerDeclared,
        [](const QString &name) { logLine(QStringLiteral("winner: %1").arg(quoted(name))); });

    try {
        server.listen(quint16(port));
    } catch (const ESockException &e) {
        std::fprintf(stderr, "wendlewick-host: cannot listen on port %u: %s\n", port, e.what());
        return 1;
    }

    HostAnnouncer announcer(server, DiscoveryConfig::fromEnvironment());
    if (announcer.start())
        logLine(QStringLiteral("announcing the game to lobbies on UDP port %1")
                    .arg(announcer.responder().port()));
    else
        logLine(QStringLiteral("lobbies will not list this game: %1").arg(announcer.errorString()));

    // The community room on the internet, when asked for; players whose connection the
    // host's router does not let in are connected through the routers from there.
    RoomClient room;
    GameAnnouncement announcement(room, [&server] { return HostAnnouncer::describe(server); });
    RoomSignalChannel signalChannel(room);
    IceServerSource iceServers(&room);
    IceGateway gateway(
        signalChannel, iceServers, {server.port(), IceAgent::forProgram(server.port()), IceBridge::Timing()});
    if (!lobbyAccount.domain.isEmpty()) {
        QObject::connect(&room, &RoomClient::statusChanged,
            [](const QString &text) { logLine(QStringLiteral("lobby: ") + Wire::printable(text)); });
        QObject::connect(&announcement, &GameAnnouncement::noteChanged, [](const QString &text) {
            if (!text.isEmpty())
                logLine(QStringLiteral("lobby: ") + Wire::printable(text));
        });
        QObject::connect(&server, &TServer::summaryChanged, &announcement, &GameAnnouncement::gameChanged);
        announcement.setConfiguredAddress(lobbyAddress);
        announcement.start(server.port());
        QObject::connect(&gateway, &IceGateway::playerConnected, [](const QString &peer, IcePath::Way path) {
            logLine(QStringLiteral("lobby: %1 connected through the routers (%2)")
                        .arg(quoted(peer), IcePath::name(path)));
        });
        QObject::connect(&gateway, &IceGateway::playerLeft, [](const QString &peer, IceBridge::End end) {
            logLine(QStringLiteral("lobby: the connection through the routers from %1 ended (%2)")
                        .arg(quoted(peer), IceBridge::endName(end)));
        });
        QObject::connect(&gateway, &IceGateway::attemptFailed, [](const QString &peer, const QString &why) {
            logLine(QStringLiteral("lobby: %1 %2").arg(quoted(peer), Wire::printable(why)));
        });
        if (IceAgent::isAvailable())
            gateway.setAccepting(true);
        else
            logLine(QStringLiteral("lobby: players behind routers cannot be connected: no GLib event loop"));
        room.start(lobbyAccount);
    }

    StopSignals stopSignals;
    if (!stopSignals.isReady()) {
        std::perror("wendlewick-host: socketpair");
        return 1;
    }
    QObject::connect(&stopSignals, &StopSignals::stopRequested, &app, [&] {
        logLine(QStringLiteral("stopping"));
        announcer.stop();
        gateway.setAccepting(false);
        room.stop();
        server.shutdown();
        QCoreApplication::quit();
    });

    logLine(QStringLiteral("wendlewick-host %1 listening on port %2")
                .arg(QString::fromLatin1(wendlewickVersion))
                .arg(server.port()));
    return QCoreApplication::exec();
}
