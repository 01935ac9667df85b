#include "programfolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ProgramFolders {

namespace {

// The data folder's name under share/, as installed.
const QString dataName = QStringLiteral("wendlewick");

} // namespace

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString installedDataFolder()
{
    // Set by the build from the install layout: the data folder relative to the
    // folder of the programs (usually "../share/wendlewick").
    const QString data
        = QDir::cleanPath(QDir(programFolder()).filePath(QStringLiteral(WENDLEWICK_DATA_FROM_BIN)));
    return QFileInfo(data).isDir() ? data : QString();
}

bool isInstalled()
{
    return !installedDataFolder().isEmpty();
}

QString writableFolder()
{
    const QString overridden = qEnvironmentVariable(dataFolderVariable);
    if (!overridden.isEmpty()) {
        QDir().mkpath(overridden);
        return overridden;
    }
    const QString program = programFolder();
    if (!isInstalled() && QFileInfo(program).isWritable())
        return program;
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(user);
    return user;
}

QString settingsFilePath()
{
    return QDir(writableFolder()).filePath(settingsFileName);
}

QString findProgram(const QString &name)
{
    const QString beside = QStandardPaths::findExecutable(name, {programFolder()});
    return beside.isEmpty() ? QStandardPaths::findExecutable(name) : beside;
}

QString wordListFolder()
{
    return isInstalled() ? writableFolder() : QDir::currentPath();
}

QStringList dataFolders(const QString &subfolder, const QString &besideProgram)
{
    QStringList candidates {besideProgram};
    const QString relative = dataName + QLatin1Char('/') + subfolder;
    const QString user = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!user.isEmpty())
        candidates << QDir(user).filePath(relative);
    if (const QString installed = installedDataFolder(); !installed.isEmpty())
        candidates << QDir(installed).filePath(subfolder);
    candidates << QStandardPaths::locateAll(
        QStandardPaths::GenericDataLocation, relative, QStandardPaths::LocateDirectory);

    QStringList folders;
    QStringList seen;
    for (const QString &folder : std::as_const(candidates)) {
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        if (canonical.isEmpty() || !QFileInfo(canonical).isDir() || seen.contains(canonical))
            continue;
        seen << canonical;
        folders << QDir::cleanPath(folder);
    }
    return folders;
}

} // namespace ProgramFolders
