#pragma once

#include "xmlpayload.h"

#include <QHostAddress>
#include <QList>
#include <QString>

#include <optional>

// What a joining player and a host say to each other through the community room to
// connect through their routers (ICE): an offer from the joiner, the host's answer or
// refusal, and either side's end of the attempt. It rides as a payload of a direct
// message in the room; in a host's presence the element with type "accepts" says the
// host answers offers.
//
//   <ice xmlns="urn:x-wendlewick:ice:1" type="offer|answer" session="..."
//        ufrag="..." pwd="...">
//     <candidate foundation="..." priority="..." ip="..." port="..." type="host|srflx|relay"/>
//     ...
//   </ice>
//   <ice xmlns="urn:x-wendlewick:ice:1" type="refuse" session="..." reason="busy|not-hosting"/>
//   <ice xmlns="urn:x-wendlewick:ice:1" type="end" session="..."/>
//   <ice xmlns="urn:x-wendlewick:ice:1" type="accepts"/>
//
// The session is 8 to 32 letters and digits of the joiner's choosing; ufrag (4 to 64)
// and pwd (22 to 128) are ICE characters (letters, digits, "+" and "/"). Every
// candidate is for the one component, over UDP, at a numeric address without a scope.
// An element is taken only when it has exactly the attributes and children its type
// names and every value keeps to its rule.
struct IceSignal
{
    enum class Kind { Offer, Answer, Refuse, End, Accepts };
    enum class Refusal { Busy, NotHosting };

    struct Candidate
    {
        enum class Type { Host, ServerReflexive, Relayed };
        QString foundation; // 1 to 32 ICE characters
        quint32 priority = 0; // 1 to 2^31 - 1
        QHostAddress address;
        quint16 port = 0;
        Type type = Type::Host;

        friend bool operator==(const Candidate &, const Candidate &) = default;
    };

    static inline const QString elementName = QStringLiteral("ice");
    static inline const QString ns = QStringLiteral("urn:x-wendlewick:ice:1");
    static constexpr int maxCandidates = 16;

    Kind kind = Kind::Offer;
    QString session;
    QString ufrag;
    QString password;
    QList<Candidate> candidates;
    Refusal refusal = Refusal::Busy;

    XmlPayload encode() const;
    // The signal, or nothing when the element breaks any rule above.
    static std::optional<IceSignal> decode(const XmlPayload &payload);

    // Whether `text` is made of ICE characters only, with a length in [min, max].
    static bool isIceText(const QString &text, int min, int max);

    friend bool operator==(const IceSignal &, const IceSignal &) = default;
};
