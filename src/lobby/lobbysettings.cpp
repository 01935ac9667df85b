#include "lobbysettings.h"

namespace {

QString recentKey(int n)
{
    return QStringLiteral("Recent") + QString::number(n);
}

} // namespace

LobbySettings::LobbySettings(const QString &path)
    : file_(path)
{ }

QString LobbySettings::name() const
{
    return file_.readString(section, QStringLiteral("Name")).left(maxNameLength);
}

bool LobbySettings::setName(const QString &name)
{
    return file_.writeString(section, QStringLiteral("Name"), name.left(maxNameLength));
}

QStringList LobbySettings::recentHosts() const
{
    QStringList hosts;
    for (int n = 1; n <= maxRecentHosts; ++n) {
        const QString host = file_.readString(section, recentKey(n)).trimmed();
        if (!host.isEmpty() && !hosts.contains(host, Qt::CaseInsensitive))
            hosts << host;
    }
    return hosts;
}

bool LobbySettings::addRecentHost(const QString &host)
{
    QStringList hosts = recentHosts();
    hosts.removeIf([&host](const QString &h) { return h.compare(host, Qt::CaseInsensitive) == 0; });
    hosts.prepend(host.trimmed());
    QList<std::pair<QString, QString>> entries;
    for (int n = 1; n <= maxRecentHosts; ++n)
        entries.append({recentKey(n), hosts.value(n - 1)});
    return file_.writeStrings(section, entries);
}
