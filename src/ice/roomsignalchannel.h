#pragma once

#include "signalchannel.h"

#include <QPointer>

class RoomClient;

// The signals as payloads of direct messages between two people in a community room
// (bounded and flood-gated by RoomClient like every direct message), and the host's
// readiness as an element of its presence there.
class RoomSignalChannel : public SignalChannel
{
    Q_OBJECT

public:
    explicit RoomSignalChannel(RoomClient &client, QObject *parent = nullptr);

    bool send(const QString &peer, const IceSignal &signal) override;
    void setAccepting(bool accepting) override;

    // Whether an occupant's presence payloads say it answers offers.
    static bool accepts(const QList<XmlPayload> &payloads);

private:
    QPointer<RoomClient> client_;
};
