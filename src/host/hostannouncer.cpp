#include "hostannouncer.h"

#include "discoveryresponder.h"
#include "dnssdpublisher.h"
#include "tserver.h"

#include <QSysInfo>

HostAnnouncer::HostAnnouncer(const TServer &server, const DiscoveryConfig &config, QObject *parent)
    : QObject(parent)
    , server_(server)
    , config_(config)
    , responder_(new DiscoveryResponder(
          config, [this] { return describe(server_); }, this))
{
    connect(&server_, &TServer::summaryChanged, this, [this] {
        responder_->gameChanged();
        if (dnsSd_)
            publish();
    });
}

HostAnnouncer::~HostAnnouncer()
{
    stop();
}

bool HostAnnouncer::start()
{
    if (!responder_->start())
        return false;
    if (config_.network && !dnsSd_) {
        dnsSd_ = new DnsSdPublisher(this);
        publish();
    }
    return true;
}

void HostAnnouncer::stop()
{
    responder_->stop();
    delete std::exchange(dnsSd_, nullptr);
}

bool HostAnnouncer::isRunning() const
{
    return responder_->isRunning();
}

QString HostAnnouncer::errorString() const
{
    return responder_->errorString();
}

DiscoveryWire::Game HostAnnouncer::describe(const TServer &server)
{
    const TServer::Summary s = server.summary();
    DiscoveryWire::Game game;
    game.port = server.port();
    game.players = quint8(std::clamp(s.players, 0, DiscoveryWire::maxCapacity));
    game.watchers = quint8(std::clamp(s.watchers, 0, DiscoveryWire::maxCapacity));
    game.capacity = Wire::slotCount;
    game.running = s.running;
    game.sizeCode = quint8(std::clamp(s.sizeCode, 0, 255));
    game.minLetters = quint8(std::clamp(s.minLetters, 0, 255));
    game.target = quint16(std::clamp(s.target, 0, 65535));
    game.roundSeconds = quint16(std::clamp(s.roundSeconds, 0, 65535));
    game.version = QByteArray(wendlewickVersion);
    game.hostName = s.hostName;
    return game;
}

void HostAnnouncer::publish()
{
    const DiscoveryWire::Game game = describe(server_);
    const auto number = [](int n) { return QByteArray::number(n); };
    dnsSd_->publish(QStringLiteral("Wendlewick on ") + QSysInfo::machineHostName(), game.port,
        {"txtvers=1", "version=" + game.version, "host=" + Wire::fromWire(game.hostName).toUtf8(),
            "players=" + number(game.players), "watchers=" + number(game.watchers),
            "capacity=" + number(game.capacity), "running=" + number(game.running),
            "board=" + number(game.sizeCode), "target=" + number(game.target)});
}
