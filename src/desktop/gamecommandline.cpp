#include "gamecommandline.h"

GameCommandLine GameCommandLine::solo()
{
    return {Role::Solo, soloName, loopback};
}

GameCommandLine GameCommandLine::host(const QString &playername)
{
    return {Role::Host, playername, loopback};
}

GameCommandLine GameCommandLine::join(const QString &playername, const QString &hostaddress)
{
    return {Role::Join, playername, hostaddress};
}

GameCommandLine GameCommandLine::parse(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return solo();
    if (arguments.size() < 3)
        return {};
    const QString name = QString(arguments.at(0)).replace(QLatin1Char('+'), QLatin1Char('-'));
    return {arguments.at(2) == hostFlag ? Role::Host : Role::Join, name, arguments.at(1)};
}

QStringList GameCommandLine::arguments() const
{
    switch (role) {
    case Role::Host:
        return {playername, hostaddress, hostFlag};
    case Role::Join:
        return {playername, hostaddress, joinFlag};
    case Role::None:
    case Role::Solo:
        break;
    }
    return {};
}
