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

#include <cstdio>

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

// The command line without the options QApplication takes for itself (-style fusion,
// -platform offscreen, ...), so that it can be checked before there is a QApplication.
QStringList withoutQtOptions(int argc, char *argv[])
{
    static const QStringList withValue {QStringLiteral("platform"), QStringLiteral("platformpluginpath"),
        QStringLiteral("platformtheme"), QStringLiteral("plugin"), QStringLiteral("qwindowgeometry"),
        QStringLiteral("qwindowicon"), QStringLiteral("qwindowtitle"), QStringLiteral("session"),
        QStringLiteral("display"), QStringLiteral("geometry"), QStringLiteral("style"),
        QStringLiteral("stylesheet")};
    static const QStringList alone {
        QStringLiteral("reverse"), QStringLiteral("widgetcount"), QStringLiteral("qmljsdebugger")};
    QStringList arguments {QString::fromLocal8Bit(argv[0])};
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument == QLatin1String("--")) {
            for (; i < argc; ++i)
                arguments << QString::fromLocal8Bit(argv[i]);
            break;
        }
        QString name = argument.section(QLatin1Char('='), 0, 0);
        if (name.startsWith(QLatin1String("--")))
            name.remove(0, 1);
        if (!name.startsWith(QLatin1Char('-')) || name.size() < 2) {
            arguments << argument;
            continue;
        }
        name.remove(0, 1);
        if (withValue.contains(name))
            i += argument.contains(QLatin1Char('=')) ? 0 : 1;
        else if (!alone.contains(name))
            arguments << argument;
    }
    return arguments;
}

} // namespace

int main(int argc, char *argv[])
{
    // Checked before the window system is looked for: the help, the version and a
    // wrong option need no display.
    QCommandLineParser parser;
    describe(parser);
    const QStringList arguments = withoutQtOptions(argc, argv);
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
        return 1;
    }
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))
        || parser.isSet(QStringLiteral("version"))) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("wendlewick-lobby"));
        QCoreApplication::setApplicationVersion(QString::fromLatin1(wendlewickVersion));
        parser.process(arguments); // prints and exits
        return 0;
    }

    QApplication app(argc, argv);
    nameTheProgram();
    QApplication::setApplicationDisplayName(QStringLiteral("Wendlewick Lobby"));
    // The menu entry the lobby is started from; the game it starts shares it.
    QGuiApplication::setDesktopFileName(QStringLiteral(WENDLEWICK_APP_ID));

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
