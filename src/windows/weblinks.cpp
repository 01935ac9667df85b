#include "weblinks.h"

#include "programfolders.h"

namespace WebLinks {

QUrl homePage()
{
    return QUrl(QStringLiteral("http://www.orinco.example/"));
}

QUrl soloPage()
{
    return QUrl(QStringLiteral("http://www.orinco.example/wendlewicksolo/"));
}

QUrl downloadAddress()
{
    const QUrl overridden(qEnvironmentVariable("WENDLEWICK_DOWNLOAD_URL"), QUrl::StrictMode);
    if (overridden.isValid() && !overridden.host().isEmpty()
        && (overridden.scheme() == QLatin1String("http") || overridden.scheme() == QLatin1String("https")))
        return overridden;
    return QUrl(QStringLiteral("http://www.orinco.example/download/OrincoLobbySetup.exe"));
}

QString defaultInstallerName()
{
    return QStringLiteral("OrincoLobbySetup.exe");
}

QString installerFileName(const QUrl &address)
{
    const QString path = address.path(QUrl::FullyDecoded);
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")
        || name.contains(QLatin1Char('\\')) || name.contains(QChar(0)))
        return defaultInstallerName();
    return name;
}

QString lobbyProgramPath()
{
    const QString overridden = qEnvironmentVariable("WENDLEWICK_LOBBY_PATH");
    return overridden.isEmpty() ? ProgramFolders::findProgram(QStringLiteral("wendlewick-lobby"))
                                : overridden;
}

} // namespace WebLinks
