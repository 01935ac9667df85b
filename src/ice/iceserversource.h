#pragma once

#include "externalservices.h"
#include "iceservers.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <functional>

class RoomClient;

// The STUN and TURN servers the community's XMPP server names (XEP-0215), looked up
// to numeric addresses and kept while their credentials are fresh: half their life,
// at most an hour. Asked again after the seat signed in anew. Without a seat (tests),
// the servers given to setFixed() are used.
class IceServerSource : public QObject
{
    Q_OBJECT

public:
    using Ready = std::function<void(const IceServers &servers)>;
    static constexpr int maxRelays = 2;
    static constexpr qint64 maxKeepMs = 3600 * 1000;

    // `client` may be null: then only fixed servers.
    explicit IceServerSource(RoomClient *client, QObject *parent = nullptr);
    ~IceServerSource() override;

    void setFixed(const IceServers &servers);
    // Calls `ready` with the servers (maybe none), at once when they are known.
    void get(Ready ready);
    // Starts asking ahead of need, so that a later get() finds them.
    void prefetch() { get({}); }
    void forget();

private:
    void ask();
    void resolved(const QList<ExternalServices::Service> &services);
    void finish(const IceServers &servers, qint64 keepMs);

    QPointer<RoomClient> client_;
    bool fixed_ = false;
    IceServers servers_;
    QElapsedTimer age_;
    qint64 keepMs_ = 0;
    bool asking_ = false;
    int generation_ = 0;
    QList<Ready> waiting_;
};
