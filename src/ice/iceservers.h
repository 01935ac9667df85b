#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>

// The STUN server and the TURN relays an ICE agent uses, at numeric addresses (the
// agent does not look names up).
struct IceServers
{
    struct Relay
    {
        QHostAddress address;
        quint16 port = 0;
        QString username;
        QString password;
    };

    QHostAddress stun;
    quint16 stunPort = 0;
    QList<Relay> relays;

    bool hasStun() const { return !stun.isNull() && stunPort != 0; }
    bool hasRelay() const { return !relays.isEmpty(); }
};
