#include "icepath.h"

namespace IcePath {

namespace {

bool openedByRouter(Candidate candidate, int typePreference)
{
    return candidate == Candidate::ServerReflexive && (typePreference == 105 || typePreference == 52);
}

} // namespace

Way classify(Candidate local, int localTypePreference, Candidate remote, int remoteTypePreference)
{
    if (local == Candidate::Relayed || remote == Candidate::Relayed)
        return Way::Relayed;
    if (openedByRouter(local, localTypePreference) || openedByRouter(remote, remoteTypePreference))
        return Way::RouterPort;
    if (local != Candidate::Host || remote != Candidate::Host)
        return Way::ThroughRouters;
    return Way::Direct;
}

QString words(Way way)
{
    switch (way) {
    case Way::Direct:
        return QStringLiteral("directly");
    case Way::ThroughRouters:
        return QStringLiteral("directly through both routers");
    case Way::RouterPort:
        return QStringLiteral("through a port the router opened");
    case Way::Relayed:
        return QStringLiteral("through the community's relay server");
    case Way::Unknown:
        break;
    }
    return QStringLiteral("by an unknown way");
}

QString name(Way way)
{
    switch (way) {
    case Way::Direct:
        return QStringLiteral("direct");
    case Way::ThroughRouters:
        return QStringLiteral("stun");
    case Way::RouterPort:
        return QStringLiteral("upnp");
    case Way::Relayed:
        return QStringLiteral("relay");
    case Way::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}

} // namespace IcePath
