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

    // The windows, in the order they are created. None is shown before the main
    // window, whose first showing reads the command line.
    Tchat chat;
    QObject::connect(&guard, &InstanceGuard::raiseRequested, &chat, &Tchat::bringForward);
    QObject::connect(&chat, &Tchat::closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    QObject::connect(&chat, &Tchat::firstShown, &chat,
        [&sinceStart] { qCInfo(lcStartup, "main window shown after %lld ms", sinceStart.elapsed()); });
    // Still to come, in this order after the main window: Tabout, Tspylist,
    // Tgamestart, Thelp, Tphrases, Tdownload, Ttallylist, TServer (the game host,
    // never shown), Twordslist (hand it to chat.setWordsListWindow), Tsolo.

    chat.show();
    return app.exec();
}
