// Takes the instance guard and the running-game marker in the folder given as its
// argument, says "held" on its standard output and waits to be killed: a copy of
// the program that crashes while it runs.
#include "instanceguard.h"
#include "processmarker.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    InstanceGuard guard(InstanceGuard::defaultName, folder);
    ProcessMarker marker(ProcessMarker::defaultName, folder);
    if (!guard.tryToRun() || !marker.isHeld())
        return 1;
    std::fputs("held\n", stdout);
    std::fflush(stdout);
    return app.exec();
}
