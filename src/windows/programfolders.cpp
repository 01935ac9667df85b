#include "programfolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ProgramFolders {

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString writableFolder()
{
    const QString overridden = qEnvironmentVariable("WENDLEWICK_DATA_DIR");
    if (!overridden.isEmpty()) {
        QDir().mkpath(overridden);
        return overridden;
    }
    const QString program = programFolder();
    if (QFileInfo(program).isWritable())
        return program;
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(user);
    return user;
}

QString findProgram(const QString &name)
{
    const QString beside = QStandardPaths::findExecutable(name, {programFolder()});
    return beside.isEmpty() ? QStandardPaths::findExecutable(name) : beside;
}

} // namespace ProgramFolders
