// wendlewick-lobby: finds games on the local network and in a community room on the
// internet, and starts the game to play solo, to host a game or to join one.
#include "discoverywire.h"
#include "gameports.h"
#include "instanceguard.h"
#include "lobby.h"
#include "lobbywindow.h"
#include "wire.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

void describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Finds Wendlewick games on the local network and on the internet and starts the game, wendlewick, "
        "to play solo, to host a game or to join one.\n\n"
        "Games are found through UDP port %1: the lobby asks the multicast group %2 and the broadcast "
        "address of each interface, and hosts answer and announce themselves. With the environment "
        "variable WENDLEWICK_DISCOVERY=off the lobby neither asks nor listens, and games are joined by "
        "address only. The game tells the lobby it has ended, and why, through its companion connection "
        "to 127.0.0.1 port %3.\n\n"
        "On the internet, players meet in a room on a community's XMPP server, set in Internet Settings: "
        "they chat there, hosts announce their games, and players invite each other with links "
        "wendlewick://HOST[:PORT]. Given such a link, the lobby looks for the game there and joins it.\n\n"
        "Only one lobby runs per user: starting another brings the running one forward, with its link.")
                                         .arg(DiscoveryWire::defaultPort)
                                         .arg(QString::fromLatin1(DiscoveryWire::multicastGroup))
                                         .arg(GamePorts::companion));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("link"),
        QStringLiteral("A game link, wendlewick://HOST[:PORT], to join (the desktop opens such links here)."),
        QStringLiteral("[link]"));
}

void nameTheProgram()
{
    // The game's names, so that both find the same settings file and tally.
    QCoreApplication::setApplicationName(QStringLiteral("Wendlewick"));
    QCoreApplication::setOrganizationName(QStringLiteral("Wendlewick"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(wendlewickVersion));
}

// Whether the command line only asks for the help or the version, which need no
// display: the window system is not even looked for then.
bool asksForTextOnly(int argc, char *argv[])
{
    static const QByteArrayList textOptions {"-h", "--help", "-?", "--help-all", "-v", "--version"};
    for (int i = 1; i < argc; ++i)
        if (textOptions.contains(QByteArray(argv[i])))
            return true;
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    if (asksForTextOnly(argc, argv)) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("wendlewick-lobby"));
        QCoreApplication::setApplicationVersion(QString::fromLatin1(wendlewickVersion));
        QCommandLineParser parser;
        describe(parser);
        parser.process(app); // prints and exits
        return 0;
    }

    QApplication app(argc, argv);
    nameTheProgram();
    QApplication::setApplicationDisplayName(QStringLiteral("Wendlewick Lobby"));
    // The menu entry the lobby is started from; the game it starts shares it.
    QGuiApplication::setDesktopFileName(QStringLiteral(WENDLEWICK_APP_ID));

    QCommandLineParser parser;
    describe(parser);
    parser.process(app);
    // Only the first word is taken, and only ever as a link, never as an option.
    const QString link = parser.positionalArguments().value(0);

    InstanceGuard guard(QStringLiteral("wendlewick-lobby"));
    if (!guard.tryToRun(link))
        return 0;

    Lobby::Setup setup;
    // A community with a certificate authority of its own (and the measurements of a
    // room on this machine) names its authorities here.
    if (const QString authorities = qEnvironmentVariable("WENDLEWICK_LOBBY_CA"); !authorities.isEmpty())
        setup.community.authorities = QSslCertificate::fromPath(authorities);
    Lobby lobby {setup};
    LobbyWindow window(lobby);
    QObject::connect(&guard, &InstanceGuard::raiseRequested, &window, &LobbyWindow::bringForward);
    QObject::connect(&guard, &InstanceGuard::argumentReceived, &window, &LobbyWindow::openLink);
    window.show();
    if (!link.isEmpty())
        window.openLink(link);
    return app.exec();
}
