// icejoin: the lobby's logic without its window, joining the first game listed in a
// community room, and a player in place of the game it would start, which plays one
// round through whatever way the lobby found. It runs inside a network namespace of
// tst_icenetns and says on its standard output what happens, one line each:
//
//   listed ADDRESS PORT ice=0|1     the game as the room lists it
//   status +MS TEXT                 every status of the lobby, and when since "Join"
//   roster MS                       from "Join" to the player's own roster entry
//   verdict US                      from a claim to the host's verdict, in microseconds
//   round over | holding            the round ended | the player waits for the end
//   lost | rejoin | back            returning: the connection closed | the lobby's Rejoin
//                                   is chosen | the seat is back
//   ended TEXT                      the lobby's last status; the program then exits
//
// Returning, the player holds as one that can come back; once its connection closed it
// waits for a line on its standard input, then gives up as the game's window does (the
// seat kept, said on the companion connection). The lobby's Rejoin starts it again,
// and it comes back to the same local end with its token, then leaves.
//
// Usage: icejoin SERVER[:PORT] CA-FILE NAME round|hold|return [SILENCE-MS]
#include "companionlistener.h"
#include "companionwire.h"
#include "gameaddress.h"
#include "gamelauncher.h"
#include "gamelistmodel.h"
#include "lobby.h"
#include "protocolclient.h"
#include "wire.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QSocketNotifier>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

namespace {

void say(const QString &line)
{
    QTextStream(stdout) << line << Qt::endl;
}

// Plays in place of the game: logs in, starts a one-round game, claims three tiles in
// a row and waits for the verdict, then for the round's end (or, holding, for the
// connection's).
class RoundPlayer : public GameLauncher
{
public:
    RoundPlayer(QString name, QString mode, const QElapsedTimer &sinceJoin)
        : name_(std::move(name))
        , hold_(mode != QLatin1String("round"))
        , return_(mode == QLatin1String("return"))
        , sinceJoin_(sinceJoin)
    { }

    void setCompanion(CompanionListener *companion) { companion_ = companion; }

    bool start(const QStringList &arguments, const QStringList &environment, QString *) override
    {
        const GameAddress::Target target = GameAddress::parse(arguments.value(1), 7772);
        const bool rejoin = !environment.filter(QStringLiteral("WENDLEWICK_REJOIN=1")).isEmpty();
        QTimer::singleShot(0, this, [this, target, rejoin] {
            if (rejoin)
                comeBack(QHostAddress(target.host), target.port);
            else
                play(QHostAddress(target.host), target.port);
            Q_EMIT ended();
        });
        return true;
    }

private:
    void play(const QHostAddress &host, quint16 port)
    {
        ProtocolClient c;
        c.setHost(host);
        if (return_) {
            holdUntilLost(c, port);
            return;
        }
        const int slot = c.join(port, name_.toLatin1());
        if (slot == 0)
            return;
        say(QStringLiteral("roster %1").arg(sinceJoin_.elapsed()));
        c.send(Wire::ToHost::startgame(name_, 0, 1, 4, 3));
        const QByteArray board = c.waitFor(Wire::Cmd::loadboard.toByteArray());
        if (board.isEmpty() || c.waitFor(Wire::Cmd::nextplayer.toByteArray()).isEmpty())
            return;
        QElapsedTimer claim;
        claim.start();
        c.send(Wire::ToHost::playerdone(slot, ProtocolClient::threeInARow(board)));
        for (QByteArray m = c.next(); !m.isEmpty(); m = c.next()) {
            if (m.startsWith(Wire::Cmd::notvalid) || m.startsWith(Wire::Cmd::goodword)) {
                say(QStringLiteral("verdict %1").arg(claim.nsecsElapsed() / 1000));
                break;
            }
        }
        if (hold_) {
            say(QStringLiteral("holding"));
            c.waitForClosed(120000);
            return;
        }
        if (!c.waitFor(Wire::Cmd::timeup.toByteArray(), 15000).isEmpty())
            say(QStringLiteral("round over"));
        c.close();
    }

    void holdUntilLost(ProtocolClient &c, quint16 port)
    {
        if (!c.connectTo(port))
            return;
        const int slot = c.waitFor(Wire::Cmd::sendlogininfo.toByteArray()).mid(18).toInt();
        c.send(Wire::ToHost::canrejoin(slot).chopped(1));
        c.send("CMD_logininfo+" + QByteArray::number(slot) + "+1.0.7+" + name_.toLatin1());
        const QByteArray given = c.waitFor(Wire::Cmd::rejointoken.toByteArray());
        ticket_ = Wire::FromHost::rejointoken(given.mid(given.indexOf('+') + 1));
        c.send(Wire::ToHost::startgame(name_, 0, 180, 4, 3).chopped(1));
        if (!ticket_ || c.waitFor(Wire::Cmd::nextplayer.toByteArray()).isEmpty())
            return;
        say(QStringLiteral("holding"));
        if (!c.waitForClosed(60000))
            return;
        say(QStringLiteral("lost"));
        bool go = false;
        QSocketNotifier input(0, QSocketNotifier::Read);
        QObject::connect(&input, &QSocketNotifier::activated, [&go] { go = true; });
        if (!QTest::qWaitFor([&go] { return go; }, 30000))
            return;
        QSignalSpy heard(companion_, &CompanionListener::endingHeard);
        QTcpSocket companion;
        companion.connectToHost(QHostAddress::LocalHost, companion_->port());
        if (!companion.waitForConnected(5000))
            return;
        companion.write(CompanionWire::encode({CompanionWire::Ending::Lost, 60}));
        heard.wait(5000);
        companion.disconnectFromHost();
    }

    void comeBack(const QHostAddress &host, quint16 port)
    {
        ProtocolClient back;
        back.setHost(host);
        if (!ticket_ || !back.connectTo(port))
            return;
        back.send("CMD_rejoin+" + Wire::tokenText(ticket_->token) + "+");
        if (back.waitFor(Wire::Cmd::welcomeback.toByteArray(), 20000).isEmpty())
            return;
        back.send("CMD_logininfo+" + QByteArray::number(ticket_->slot) + "+1.0.7+" + name_.toLatin1());
        if (back.waitFor(Wire::Cmd::foundwords.toByteArray()).isEmpty())
            return;
        say(QStringLiteral("back"));
        back.send(Wire::ToHost::leaving(ticket_->slot).chopped(1));
        back.close();
    }

    QString name_;
    bool hold_;
    bool return_;
    CompanionListener *companion_ = nullptr;
    std::optional<Wire::FromHost::RejoinTicket> ticket_;
    const QElapsedTimer &sinceJoin_;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        std::fprintf(stderr, "usage: icejoin SERVER[:PORT] CA-FILE NAME round|hold|return [SILENCE-MS]\n");
        return 2;
    }
    QTemporaryDir dir;
    QFile settings(dir.filePath(QStringLiteral("orinlobby.ini")));
    if (!settings.open(QIODevice::WriteOnly))
        return 1;
    settings.write(
        QStringLiteral("[Lobby]\nName=%1\n[Community]\nServer=%2\n").arg(args[3], args[1]).toUtf8());
    settings.close();

    QElapsedTimer sinceJoin;
    RoundPlayer player(args[3], args[4], sinceJoin);
    Lobby::Setup setup;
    setup.settingsPath = settings.fileName();
    setup.tallyFolder = dir.path();
    setup.markerFolder = dir.path();
    setup.companionPort = 0;
    setup.launcher = &player;
    setup.community.authorities = QSslCertificate::fromPath(args[2]);
    if (args.size() > 5)
        setup.ice.bridge.silenceMs = args[5].toInt();
    Lobby lobby(setup);
    bool joining = false;
    bool done = false;
    const auto finish = [&lobby, &done] {
        if (std::exchange(done, true))
            return;
        say(QStringLiteral("ended ") + lobby.status());
        QCoreApplication::quit();
    };
    QObject::connect(&lobby, &Lobby::statusChanged, [&](const QString &text, bool problem) {
        say(QStringLiteral("status +%1 %2").arg(sinceJoin.isValid() ? sinceJoin.elapsed() : 0).arg(text));
        // A join that found no way ends here; a game that ran ends with gameEnded.
        if (joining && problem && lobby.state() == Lobby::State::Idle)
            finish();
    });
    QObject::connect(lobby.community(), &CommunityLobby::statusChanged,
        [](const QString &text) { say(QStringLiteral("room ") + text); });
    QObject::connect(&lobby, &Lobby::gameStarted, [&joining] { joining = false; });
    player.setCompanion(lobby.companion());
    // A lost game whose seat is kept is rejoined, once.
    bool rejoined = false;
    QObject::connect(&lobby, &Lobby::gameEnded, &app, [&] {
        if (lobby.canRejoin() && !std::exchange(rejoined, true)) {
            say(QStringLiteral("rejoin"));
            QTimer::singleShot(0, &lobby, &Lobby::rejoin);
            return;
        }
        finish();
    });

    GameListModel *games = lobby.community()->games();
    if (!QTest::qWaitFor([games] { return games->rowCount() > 0; }, 20000)) {
        say(QStringLiteral("ended no game was listed"));
        return 1;
    }
    const ListedGame game = games->game(0);
    say(QStringLiteral("listed %1 %2 ice=%3").arg(game.address).arg(game.port).arg(int(game.acceptsIce)));
    sinceJoin.start();
    joining = true;
    lobby.join(game.address, game.port, true, games->key(0));
    return done ? 1 : app.exec();
}
