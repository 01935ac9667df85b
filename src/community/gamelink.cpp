#include "gamelink.h"

#include "communityaccount.h"

#include <QHostAddress>

namespace GameLink {

namespace {

const QString prefix = QStringLiteral("wendlewick://");

QString refused(const QString &why)
{
    return QStringLiteral("This link cannot be opened: %1.").arg(why);
}

} // namespace

std::optional<Target> parse(const QString &link, quint16 defaultPort, QString *problem)
{
    QString ignored;
    QString &why = problem ? *problem : ignored;
    if (link.size() > maxLinkChars) {
        why = refused(QStringLiteral("it is too long"));
        return std::nullopt;
    }
    if (!link.startsWith(prefix, Qt::CaseInsensitive)) {
        why = refused(QStringLiteral("it is not a Wendlewick game link"));
        return std::nullopt;
    }
    QString rest = link.mid(prefix.size());
    if (rest.endsWith(QLatin1Char('/')))
        rest.chop(1);
    static const QString forbidden = QStringLiteral("/?#@%\\ \t\r\n");
    if (rest.isEmpty() || std::any_of(rest.begin(), rest.end(), [](QChar c) {
            return forbidden.contains(c) || c.category() == QChar::Other_Control;
        })) {
        why = refused(QStringLiteral("a game link holds only an address and a port"));
        return std::nullopt;
    }

    Target target {rest, defaultPort};
    QString portText;
    if (rest.startsWith(QLatin1Char('['))) {
        const qsizetype close = rest.indexOf(QLatin1Char(']'));
        if (close < 0) {
            why = refused(QStringLiteral("its address is not closed with \u201c]\u201d"));
            return std::nullopt;
        }
        target.host = rest.mid(1, close - 1);
        const QString after = rest.mid(close + 1);
        if (!after.isEmpty()) {
            if (!after.startsWith(QLatin1Char(':'))) {
                why = refused(QStringLiteral("a game link holds only an address and a port"));
                return std::nullopt;
            }
            portText = after.mid(1);
        }
        if (QHostAddress(target.host).protocol() != QAbstractSocket::IPv6Protocol) {
            why = refused(QStringLiteral("\u201c%1\u201d is not an IPv6 address").arg(target.host));
            return std::nullopt;
        }
    } else if (const qsizetype colon = rest.indexOf(QLatin1Char(':')); colon >= 0) {
        target.host = rest.left(colon);
        portText = rest.mid(colon + 1);
    }
    if (!portText.isNull()) {
        bool ok = false;
        const uint port = portText.toUInt(&ok);
        // Digits only: no sign, no blanks, no leading "+".
        if (!ok || port == 0 || port > 65535
            || !std::all_of(portText.begin(), portText.end(), [](QChar c) { return c.isDigit(); })) {
            why = refused(QStringLiteral("its port is not a number from 1 to 65535"));
            return std::nullopt;
        }
        target.port = quint16(port);
    }
    if (const QString p = addressProblem(target.host, target.port, true); !p.isEmpty()) {
        why = refused(p);
        return std::nullopt;
    }
    why.clear();
    return target;
}

QString format(const QString &host, quint16 port)
{
    const bool v6 = host.contains(QLatin1Char(':'));
    return prefix + (v6 ? QLatin1Char('[') + host + QLatin1Char(']') : host) + QLatin1Char(':')
        + QString::number(port);
}

QString addressProblem(const QString &host, quint16 port, bool allowLoopback)
{
    if (port == 0)
        return QStringLiteral("port 0 is no game's port");
    const QHostAddress address(host);
    if (address.isNull()) {
        if (!CommunityAccount::isDomainName(host))
            return QStringLiteral("\u201c%1\u201d is neither a name nor an address").arg(host.left(60));
        if (!allowLoopback && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
            return QStringLiteral("\u201clocalhost\u201d is every player's own computer");
        return {};
    }
    bool mapped = false;
    const QHostAddress plain(address.toIPv4Address(&mapped));
    const QHostAddress &a = mapped ? plain : address;
    if (a.isEqual(QHostAddress::AnyIPv4) || a.isEqual(QHostAddress::AnyIPv6))
        return QStringLiteral("%1 is no one's address").arg(host);
    if (a.isMulticast() || a.isBroadcast())
        return QStringLiteral("%1 is a multicast or broadcast address").arg(host);
    if (a.isLoopback() && !allowLoopback)
        return QStringLiteral("%1 is every player's own computer").arg(host);
    if (a.protocol() == QAbstractSocket::IPv6Protocol && !a.scopeId().isEmpty())
        return QStringLiteral("%1 is an address of one network only").arg(host);
    return {};
}

} // namespace GameLink
