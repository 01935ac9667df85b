#include "gamesounds.h"
#include "hostannouncer.h"
#include "instanceguard.h"
#include "programfolders.h"
#include "qtsoundplayer.h"
#include "stopsignals.h"
#include "tchat.h"
#include "tdictn.h"
#include "tilegroups.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>

#include <algorithm>

// Enable with QT_LOGGING_RULES="wendlewick.startup.info=true" to see how long the
// main window took to appear.
Q_LOGGING_CATEGORY(lcStartup, "wendlewick.startup", QtWarningMsg)
// Enable with QT_LOGGING_RULES="wendlewick.data.info=true" to see where the program
// keeps its files and which tile groups and sounds it found.
Q_LOGGING_CATEGORY(lcData, "wendlewick.data", QtWarningMsg)

namespace {

void logDataFolders(Tchat &chat)
{
    if (!lcData().isInfoEnabled())
        return;
    qCInfo(lcData).noquote() << "installed:" << (ProgramFolders::isInstalled() ? "yes" : "no");
    qCInfo(lcData).noquote() << "settings and tally in" << ProgramFolders::writableFolder();
    qCInfo(lcData).noquote() << "word list" << chat.spell->filePath() << "with" << chat.spell->recordCount()
                             << "words";
    const TileGroups *tiles = chat.tileGroups();
    qCInfo(lcData).noquote() << "tile groups" << tiles->groupNames().join(QStringLiteral(", ")) << "from"
                             << tiles->tilesfolders().join(QStringLiteral(", "));
    const QStringList sounds = GameSounds::builtinSounds();
    const auto found = std::count_if(sounds.begin(), sounds.end(),
        [](const QString &name) { return !QtSoundPlayer::clipResource(name).isEmpty(); });
    qCInfo(lcData).noquote() << "built-in sounds" << found << "of" << sounds.size();
}

} // namespace

int main(int argc, char *argv[])
{
    QElapsedTimer sinceStart;
    sinceStart.start();

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wendlewick"));
    QApplication::setOrganizationName(QStringLiteral("Wendlewick"));
    // The desktop entry's name: lets Wayland compositors match the window to its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(WENDLEWICK_APP_ID));

    InstanceGuard guard;
    if (!guard.tryToRun())
        return 0;

    // The main window creates the other windows in their order (about, spy list,
    // game options, help, phrase editor, download, tally, the game host, words list,
    // solo); none is shown before the main window, whose first showing reads the
    // command line.
    Tchat chat(Tchat::Setup {});
    logDataFolders(chat);
    QObject::connect(&guard, &InstanceGuard::raiseRequested, &chat, &Tchat::bringForward);
    QObject::connect(&chat, &Tchat::closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    QObject::connect(&chat, &Tchat::firstShown, &chat,
        [&sinceStart] { qCInfo(lcStartup, "main window shown after %lld ms", sinceStart.elapsed()); });
    // Asked to stop (Ctrl+C, the end of the desktop session): close as the player would,
    // saving the settings and removing the word-list file.
    StopSignals stopSignals;
    QObject::connect(&stopSignals, &StopSignals::stopRequested, &chat, &QWidget::close);

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
