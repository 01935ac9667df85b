#include "icesignal.h"

#include <algorithm>

namespace {

constexpr int maxAddressChars = 45; // the longest IPv6 text with an IPv4 tail

const QString offerText = QStringLiteral("offer");
const QString answerText = QStringLiteral("answer");
const QString refuseText = QStringLiteral("refuse");
const QString endText = QStringLiteral("end");
const QString acceptsText = QStringLiteral("accepts");

QString kindText(IceSignal::Kind kind)
{
    switch (kind) {
    case IceSignal::Kind::Offer:
        return offerText;
    case IceSignal::Kind::Answer:
        return answerText;
    case IceSignal::Kind::Refuse:
        return refuseText;
    case IceSignal::Kind::End:
        return endText;
    case IceSignal::Kind::Accepts:
        return acceptsText;
    }
    return {};
}

QString typeText(IceSignal::Candidate::Type type)
{
    switch (type) {
    case IceSignal::Candidate::Type::Host:
        return QStringLiteral("host");
    case IceSignal::Candidate::Type::ServerReflexive:
        return QStringLiteral("srflx");
    case IceSignal::Candidate::Type::Relayed:
        return QStringLiteral("relay");
    }
    return {};
}

bool digitsOnly(const QString &text, int maxChars)
{
    return !text.isEmpty() && text.size() <= maxChars
        && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool isSession(const QString &text)
{
    return text.size() >= 8 && text.size() <= 32 && std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    });
}

// Exactly the attributes `names`, each once.
bool hasExactly(const XmlPayload &payload, std::initializer_list<QLatin1String> names)
{
    if (payload.attributes.size() != qsizetype(names.size()))
        return false;
    return std::all_of(names.begin(), names.end(), [&payload](QLatin1String name) {
        return std::count_if(payload.attributes.begin(), payload.attributes.end(), [name](const auto &a) {
            return a.first == name;
        }) == 1;
    });
}

std::optional<IceSignal::Candidate> readCandidate(const XmlPayload &c)
{
    if (c.name != QLatin1String("candidate") || !c.children.isEmpty() || !c.text.isEmpty()
        || !hasExactly(c,
            {QLatin1String("foundation"), QLatin1String("priority"), QLatin1String("ip"),
                QLatin1String("port"), QLatin1String("type")}))
        return std::nullopt;
    IceSignal::Candidate candidate;
    candidate.foundation = c.attribute(QStringLiteral("foundation"));
    if (!IceSignal::isIceText(candidate.foundation, 1, 32))
        return std::nullopt;
    const QString priority = c.attribute(QStringLiteral("priority"));
    const QString port = c.attribute(QStringLiteral("port"));
    if (!digitsOnly(priority, 10) || !digitsOnly(port, 5))
        return std::nullopt;
    const qulonglong p = priority.toULongLong();
    const uint portNumber = port.toUInt();
    if (p == 0 || p > 0x7fffffffULL || portNumber == 0 || portNumber > 65535)
        return std::nullopt;
    candidate.priority = quint32(p);
    candidate.port = quint16(portNumber);
    const QString ip = c.attribute(QStringLiteral("ip"));
    // Numbers only: a name would make the agent look it up, and a scope means nothing
    // on another computer.
    if (ip.isEmpty() || ip.size() > maxAddressChars || ip.contains(QLatin1Char('%')))
        return std::nullopt;
    candidate.address = QHostAddress(ip);
    if (candidate.address.isNull())
        return std::nullopt;
    const QString type = c.attribute(QStringLiteral("type"));
    if (type == QLatin1String("host"))
        candidate.type = IceSignal::Candidate::Type::Host;
    else if (type == QLatin1String("srflx"))
        candidate.type = IceSignal::Candidate::Type::ServerReflexive;
    else if (type == QLatin1String("relay"))
        candidate.type = IceSignal::Candidate::Type::Relayed;
    else
        return std::nullopt;
    return candidate;
}

} // namespace

bool IceSignal::isIceText(const QString &text, int min, int max)
{
    return text.size() >= min && text.size() <= max && std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'+'
            || c == u'/';
    });
}

XmlPayload IceSignal::encode() const
{
    XmlPayload payload {elementName, ns, {{QStringLiteral("type"), kindText(kind)}}, {}, {}};
    if (kind == Kind::Accepts)
        return payload;
    payload.attributes.append({QStringLiteral("session"), session});
    switch (kind) {
    case Kind::Offer:
    case Kind::Answer:
        payload.attributes.append({QStringLiteral("ufrag"), ufrag});
        payload.attributes.append({QStringLiteral("pwd"), password});
        for (const Candidate &c : candidates)
            payload.children.append(XmlPayload {QStringLiteral("candidate"), {},
                {{QStringLiteral("foundation"), c.foundation},
                    {QStringLiteral("priority"), QString::number(c.priority)},
                    {QStringLiteral("ip"), c.address.toString()},
                    {QStringLiteral("port"), QString::number(c.port)},
                    {QStringLiteral("type"), typeText(c.type)}},
                {}, {}});
        break;
    case Kind::Refuse:
        payload.attributes.append({QStringLiteral("reason"),
            refusal == Refusal::Busy ? QStringLiteral("busy") : QStringLiteral("not-hosting")});
        break;
    case Kind::End:
    case Kind::Accepts:
        break;
    }
    return payload;
}

std::optional<IceSignal> IceSignal::decode(const XmlPayload &payload)
{
    if (payload.name != elementName || payload.ns != ns || !payload.text.trimmed().isEmpty())
        return std::nullopt;
    IceSignal signal;
    const QString kind = payload.attribute(QStringLiteral("type"));
    if (kind == acceptsText) {
        if (!hasExactly(payload, {QLatin1String("type")}) || !payload.children.isEmpty())
            return std::nullopt;
        signal.kind = Kind::Accepts;
        return signal;
    }
    signal.session = payload.attribute(QStringLiteral("session"));
    if (!isSession(signal.session))
        return std::nullopt;
    if (kind == endText) {
        if (!hasExactly(payload, {QLatin1String("type"), QLatin1String("session")})
            || !payload.children.isEmpty())
            return std::nullopt;
        signal.kind = Kind::End;
        return signal;
    }
    if (kind == refuseText) {
        if (!hasExactly(payload, {QLatin1String("type"), QLatin1String("session"), QLatin1String("reason")})
            || !payload.children.isEmpty())
            return std::nullopt;
        const QString reason = payload.attribute(QStringLiteral("reason"));
        if (reason == QLatin1String("busy"))
            signal.refusal = Refusal::Busy;
        else if (reason == QLatin1String("not-hosting"))
            signal.refusal = Refusal::NotHosting;
        else
            return std::nullopt;
        signal.kind = Kind::Refuse;
        return signal;
    }
    if (kind != offerText && kind != answerText)
        return std::nullopt;
    signal.kind = kind == offerText ? Kind::Offer : Kind::Answer;
    if (!hasExactly(payload,
            {QLatin1String("type"), QLatin1String("session"), QLatin1String("ufrag"), QLatin1String("pwd")}))
        return std::nullopt;
    signal.ufrag = payload.attribute(QStringLiteral("ufrag"));
    signal.password = payload.attribute(QStringLiteral("pwd"));
    if (!isIceText(signal.ufrag, 4, 64) || !isIceText(signal.password, 22, 128) || payload.children.isEmpty()
        || payload.children.size() > maxCandidates)
        return std::nullopt;
    for (const XmlPayload &child : payload.children) {
        std::optional<Candidate> candidate = readCandidate(child);
        if (!candidate)
            return std::nullopt;
        signal.candidates.append(*candidate);
    }
    return signal;
}
