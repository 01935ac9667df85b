// A lobby's discovery without a window, for tests between network namespaces: browses
// the network and prints one line per event ("listening", "found <name> <address>
// <port>", "lost") until it is stopped. The argument is the query interval in ms.
#include "discoverybrowser.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    DiscoveryConfig config;
    DiscoveryBrowser browser(config);
    browser.setTiming({app.arguments().value(1, QStringLiteral("3000")).toInt(), 600000});
    QTextStream out(stdout);
    QObject::connect(&browser, &DiscoveryBrowser::gameFound, [&out](const FoundGame &g) {
        out << "found " << QString::fromLatin1(g.game.hostName) << ' ' << g.address.toString() << ' '
            << g.game.port << Qt::endl;
    });
    QObject::connect(&browser, &DiscoveryBrowser::gameLost, [&out] { out << "lost" << Qt::endl; });
    if (!browser.start() || browser.helloPort() == 0) {
        out << "cannot browse: " << browser.errorString() << Qt::endl;
        return 1;
    }
    out << "listening" << Qt::endl;
    return QCoreApplication::exec();
}
