#include "weblinks.h"

#include "programfolders.h"

#include <optional>

namespace WebLinks {

QUrl homePage()
{
    return QUrl(QStringLiteral("http://www.orinco.example/"));
}

QUrl soloPage()
{
    return QUrl(QStringLiteral("http://www.orinco.example/wendlewicksolo/"));
}

namespace {

std::optional<QUrl> givenDownloadAddress()
{
    const QUrl overridden(qEnvironmentVariable("WENDLEWICK_DOWNLOAD_URL"), QUrl::StrictMode);
    if (overridden.isValid() && !overridden.host().isEmpty()
        && (overridden.scheme() == QLatin1String("http") || overridden.scheme() == QLatin1String("https")))
        return overridden;
    return std::nullopt;
}

} // namespace

QUrl downloadAddress()
{
    return givenDownloadAddress().value_or(
        QUrl(QStringLiteral("http://www.orinco.example/download/OrincoLobbySetup.exe")));
}

bool downloadAddressGiven()
{
    return givenDownloadAddress().has_value();
}

bool isReachable(const QUrl &address)
{
    // RFC 2606 and RFC 6761: names that never reach anyone's server.
    const QString host = address.host().toLower();
    for (const char *reserved : {"example", "example.com", "example.net", "example.org", "invalid", "test"}) {
        const QLatin1String domain(reserved);
        if (host == domain || host.endsWith(QLatin1Char('.') + domain))
            return false;
    }
    return address.isValid() && !host.isEmpty();
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
