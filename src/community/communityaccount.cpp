#include "communityaccount.h"

#include <QRegularExpression>

namespace {

// The local part of an address: no blanks, no characters XMPP forbids there.
bool isLocalPart(const QString &text)
{
    static const QRegularExpression forbidden(QStringLiteral("[\\s\"&'/:<>@\\x00-\\x1f\\x7f]"));
    return !text.isEmpty() && text.size() <= 64 && !forbidden.match(text).hasMatch();
}

// "local@domain" split, or empty parts.
std::pair<QString, QString> split(const QString &address)
{
    const qsizetype at = address.indexOf(QLatin1Char('@'));
    if (at <= 0)
        return {};
    return {address.left(at), address.mid(at + 1)};
}

} // namespace

QString CommunityAccount::roomAddress() const
{
    return room.isEmpty() ? QStringLiteral("lobby@rooms.") + domain : room;
}

QString CommunityAccount::signInDomain() const
{
    return account.isEmpty() ? domain : split(account).second;
}

bool CommunityAccount::isDomainName(const QString &name)
{
    static const QRegularExpression label(QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?$"));
    if (name.isEmpty() || name.size() > 253)
        return false;
    const QStringList labels = name.split(QLatin1Char('.'));
    return std::all_of(
        labels.begin(), labels.end(), [](const QString &l) { return label.match(l).hasMatch(); });
}

QString CommunityAccount::parseServer(const QString &text, QString *domain, quint16 *port)
{
    const QString t = text.trimmed();
    QString name = t;
    quint16 p = 0;
    if (const qsizetype colon = t.lastIndexOf(QLatin1Char(':')); colon >= 0) {
        bool ok = false;
        const uint n = t.mid(colon + 1).toUInt(&ok);
        if (!ok || n == 0 || n > 65535)
            return QStringLiteral("\u201c%1\u201d does not end in a port number from 1 to 65535.").arg(t);
        name = t.left(colon);
        p = quint16(n);
    }
    if (!isDomainName(name))
        return QStringLiteral("\u201c%1\u201d is not the name of a server, such as lobby.example.org.")
            .arg(t);
    *domain = name.toLower();
    *port = p;
    return {};
}

QString CommunityAccount::accountProblem(const QString &account)
{
    const auto [local, server] = split(account.trimmed());
    if (!isLocalPart(local) || !isDomainName(server))
        return QStringLiteral("\u201c%1\u201d is not an account such as anna@lobby.example.org.")
            .arg(account);
    return {};
}

QString CommunityAccount::roomProblem(const QString &room)
{
    const auto [local, server] = split(room.trimmed());
    if (!isLocalPart(local) || !isDomainName(server))
        return QStringLiteral("\u201c%1\u201d is not a room such as lobby@rooms.lobby.example.org.")
            .arg(room);
    return {};
}
