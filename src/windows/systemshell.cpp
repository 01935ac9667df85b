#include "systemshell.h"

#include <QDesktopServices>
#include <QProcess>

SystemShell &SystemShell::instance()
{
    static SystemShell shell;
    return shell;
}

bool SystemShell::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

bool SystemShell::startProgram(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}
