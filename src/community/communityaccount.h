#pragma once

#include <QList>
#include <QSslCertificate>
#include <QString>

// Where and how to sign in to a community lobby: the community's XMPP server, a guest
// or an account there, the room and the name shown in it.
struct CommunityAccount
{
    // The community's domain: guests sign in here, and the room is on rooms.<domain>
    // unless `room` says otherwise.
    QString domain;
    // Where to connect; empty: the domain (through its SRV record when `port` is 0).
    QString host;
    quint16 port = 0;
    // "name@domain" of an account; empty: a guest (SASL ANONYMOUS).
    QString account;
    QString password;
    // "name@service"; empty: lobby@rooms.<domain>.
    QString room;
    QString nick;
    // Trusted for the server's certificate; empty: the system's authorities.
    QList<QSslCertificate> authorities;

    QString roomAddress() const;
    // Where the account lives, else the community's domain.
    QString signInDomain() const;

    // Reads "example.org" or "example.org:5222" into `domain` and `port` (0 when none
    // is given). Returns why it cannot, for the player; empty when it can.
    static QString parseServer(const QString &text, QString *domain, quint16 *port);
    // Why `account` is not "name@domain", or empty.
    static QString accountProblem(const QString &account);
    // Why `room` is not "name@service", or empty.
    static QString roomProblem(const QString &room);
    static bool isDomainName(const QString &name);
};
