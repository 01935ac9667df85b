#include "gameaddress.h"

namespace GameAddress {

Target parse(const QString &address, quint16 defaultPort)
{
    const qsizetype colon = address.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return {address, defaultPort};
    QString host = address.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    else if (host.contains(QLatin1Char(':')) || host.contains(QLatin1Char('[')))
        return {address, defaultPort};
    bool ok = false;
    const uint port = address.mid(colon + 1).toUInt(&ok);
    if (!ok || port == 0 || port > 65535 || host.isEmpty())
        return {address, defaultPort};
    return {host, quint16(port)};
}

QString format(const QString &host, quint16 port, quint16 defaultPort)
{
    if (port == defaultPort)
        return host;
    const QString bare = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    return bare + QLatin1Char(':') + QString::number(port);
}

} // namespace GameAddress
