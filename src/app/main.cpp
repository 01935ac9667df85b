#include "hostannouncer.h"
#include "instanceguard.h"
#include "tchat.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>

// Enable with QT_LOGGING_RULES="wendlewick.startup.info=true" to see how long the
// main window took to appear.
Q_LOGGING_CATEGORY(lcStartup, "wendlewick.startup", QtWarningMsg)

int main(int argc, char *argv[])
{
    QElapsedTimer sinceStart;
    sinceStart.start();

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wendlewick"));
    QApplication::setOrganizationName(QStringLiteral("Wendlewick"));

    InstanceGuard guard;
    if (!guard.tryToRun())
        return 0;

    // The main window creates the other windows in their order (about, spy list,
    // game options, help, phrase editor, download, tally, the game host, words list,
    // solo); none is shown before the main window, whose first showing reads the
    // command line.
    Tchat chat(Tchat::Setup {});
    QObject::connect(&guard, &InstanceGuard::raiseRequested, &chat, &Tchat::bringForward);
    QObject::connect(&chat, &Tchat::closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    QObject::connect(&chat, &Tchat::firstShown, &chat,
        [&sinceStart] { qCInfo(lcStartup, "main window shown after %lld ms", sinceStart.elapsed()); });

    // Lobbies on the network learn of a game hosted for others, never of solo play.
    HostAnnouncer announcer(*chat.server(), DiscoveryConfig::fromEnvironment());
    QObject::connect(&chat, &Tchat::hostingForOthers, &announcer, [&announcer, &chat] {
        if (!announcer.start() && DiscoveryConfig::fromEnvironment().enabled)
            chat.addSystemLine(
                QStringLiteral("Lobbies on the network will not list this game (%1); players can still "
                               "join it by this computer's address.")
                    .arg(announcer.errorString()));
    });

    chat.show();
    return app.exec();
}
