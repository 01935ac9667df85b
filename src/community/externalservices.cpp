#include "externalservices.h"

#include "gamelink.h"

namespace ExternalServices {

XmlPayload request(std::optional<Service::Type> type)
{
    XmlPayload payload {elementName, ns, {}, {}, {}};
    if (type)
        payload.attributes.append({QStringLiteral("type"),
            *type == Service::Turn ? QStringLiteral("turn") : QStringLiteral("stun")});
    return payload;
}

QList<Service> read(const XmlPayload &answer, bool allowLoopback)
{
    QList<Service> services;
    if (answer.name != elementName || answer.ns != ns)
        return services;
    for (const XmlPayload &item : answer.children) {
        if (services.size() == maxServices)
            break;
        const QString type = item.attribute(QStringLiteral("type"));
        const QString transport = item.attribute(QStringLiteral("transport"));
        const QString portText = item.attribute(QStringLiteral("port"));
        bool ok = false;
        const uint port = portText.toUInt(&ok);
        Service service;
        service.host = item.attribute(QStringLiteral("host"));
        if (item.name != QLatin1String("service")
            || (type != QLatin1String("stun") && type != QLatin1String("turn"))
            || (!transport.isEmpty() && transport != QLatin1String("udp")) || !ok || port == 0 || port > 65535
            || !GameLink::addressProblem(service.host, quint16(port), allowLoopback).isEmpty())
            continue;
        service.type = type == QLatin1String("turn") ? Service::Turn : Service::Stun;
        service.port = quint16(port);
        if (service.type == Service::Turn) {
            service.username = item.attribute(QStringLiteral("username"));
            service.password = item.attribute(QStringLiteral("password"));
            // A relay without credentials, or with ones that cannot be real, is no use.
            if (service.username.isEmpty() || service.password.isEmpty()
                || service.username.size() > maxCredentialChars
                || service.password.size() > maxCredentialChars)
                continue;
            service.expires = QDateTime::fromString(item.attribute(QStringLiteral("expires")), Qt::ISODate);
        }
        services.append(service);
    }
    return services;
}

} // namespace ExternalServices
