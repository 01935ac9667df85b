#include "gamepayload.h"

namespace GamePayload {

XmlPayload encode(const DiscoveryWire::Game &game, const QString &address, quint16 port)
{
    DiscoveryWire::Game hello = game;
    hello.kind = DiscoveryWire::Kind::Hello;
    hello.nonce = 0;
    return XmlPayload {elementName, ns,
        {{QStringLiteral("address"), address}, {QStringLiteral("port"), QString::number(port)}},
        QString::fromLatin1(DiscoveryWire::encodeGame(hello).toBase64()), {}};
}

std::optional<Announced> decode(const XmlPayload &payload)
{
    if (payload.name != elementName || payload.ns != ns || !payload.children.isEmpty()
        || payload.text.size() > maxTextChars || payload.attributes.size() != 2)
        return std::nullopt;
    const QString address = payload.attribute(QStringLiteral("address"));
    const QString portText = payload.attribute(QStringLiteral("port"));
    bool ok = false;
    const uint port = portText.toUInt(&ok);
    if (address.isEmpty() || address.size() > 253 || !ok || port == 0 || port > 65535
        || !std::all_of(portText.begin(), portText.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    const QByteArray text = payload.text.trimmed().toLatin1();
    const auto bytes = QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
    if (!bytes)
        return std::nullopt;
    const std::optional<DiscoveryWire::Datagram> datagram = DiscoveryWire::decode(*bytes);
    if (!datagram || datagram->kind != DiscoveryWire::Kind::Hello || !datagram->game)
        return std::nullopt;
    DiscoveryWire::Game game = *datagram->game;
    game.nonce = 0; // a hello's nonce says nothing
    return Announced {game, address, quint16(port)};
}

} // namespace GamePayload
