#pragma once

#include "xmlpayload.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// The STUN and TURN servers a community's XMPP server names (XEP-0215, external
// service discovery), read from its answer to
//
//   <services xmlns="urn:xmpp:extdisco:2" [type="stun|turn"]/>
//
// A TURN server comes with short-lived credentials the XMPP server makes from a
// secret it shares with the TURN server, so no client ever keeps a relay password.
// Only what a game can use is taken: UDP services of type stun or turn, with a port
// and a host that names a server (GameLink::addressProblem); everything else in the
// answer is skipped, and at most maxServices are read.
namespace ExternalServices {

inline const QString ns = QStringLiteral("urn:xmpp:extdisco:2");
inline const QString elementName = QStringLiteral("services");
inline constexpr int maxServices = 8;
inline constexpr int maxCredentialChars = 512;

struct Service
{
    enum Type { Stun, Turn };
    Type type = Stun;
    QString host;
    quint16 port = 0;
    QString username; // a TURN server's
    QString password;
    QDateTime expires; // when the credentials end; invalid: not said

    friend bool operator==(const Service &, const Service &) = default;
};

// The request, for every type or for one.
XmlPayload request(std::optional<Service::Type> type = std::nullopt);

// The services in an answer; `allowLoopback` takes loopback hosts too (a server on
// loopback, in tests).
QList<Service> read(const XmlPayload &answer, bool allowLoopback);

} // namespace ExternalServices
