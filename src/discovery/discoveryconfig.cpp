#include "discoveryconfig.h"

DiscoveryConfig DiscoveryConfig::fromEnvironment()
{
    DiscoveryConfig config;
    config.enabled
        = qEnvironmentVariable("WENDLEWICK_DISCOVERY").compare(QLatin1String("off"), Qt::CaseInsensitive)
        != 0;
    return config;
}

DiscoveryConfig DiscoveryConfig::loopback(const QList<Peer> &peers)
{
    DiscoveryConfig config;
    config.bindAddress = QHostAddress::LocalHost;
    config.port = 0;
    config.network = false;
    config.peers = peers;
    return config;
}
