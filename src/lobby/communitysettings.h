#pragma once

#include "profilefile.h"

#include <QString>

// The lobby's internet settings, in the section "Community" of orinlobby.ini. No
// password is ever written here: it lives in the desktop's keyring (PasswordStore).
//
//   Server   the community's server, "lobby.example.org" or "lobby.example.org:5222";
//            empty (the default): the lobby plays on the local network only
//   Room     the room, "lobby@rooms.lobby.example.org"; empty: lobby@rooms.<server>
//   Account  "name@domain" of an account; empty: signed in as a guest
//   Name     the name shown in the room; empty: the player's name
//   Address  where players on the internet reach this computer's games, "host" or
//            "host:port"; empty: learned from the community's server
//   SignIn   0 after the player signed out: the lobby does not sign in by itself
class CommunitySettings
{
public:
    static inline const QString section = QStringLiteral("Community");
    static constexpr int maxValueLength = 253;

    explicit CommunitySettings(const QString &path);

    QString server() const { return value(QStringLiteral("Server")); }
    QString room() const { return value(QStringLiteral("Room")); }
    QString account() const { return value(QStringLiteral("Account")); }
    QString name() const { return value(QStringLiteral("Name")); }
    QString address() const { return value(QStringLiteral("Address")); }
    bool signIn() const { return value(QStringLiteral("SignIn")) != QLatin1String("0"); }

    struct Values
    {
        QString server;
        QString room;
        QString account;
        QString name;
        QString address;
    };
    Values values() const { return {server(), room(), account(), name(), address()}; }
    bool setValues(const Values &values);
    bool setSignIn(bool signIn);

private:
    QString value(const QString &key) const;

    ProfileFile file_;
};
