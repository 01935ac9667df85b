#pragma once

#include <QString>
#include <QStringList>

// The game's command line, which the lobby writes and the game reads: no arguments
// for solo play; else the player's name, the host's address, and "true" (exactly) to
// host the game, anything else to join it. With one or two arguments no role is taken;
// arguments after the third are ignored.
struct GameCommandLine
{
    enum class Role { None, Solo, Host, Join };

    static inline const QString hostFlag = QStringLiteral("true");
    static inline const QString joinFlag = QStringLiteral("false");
    // Solo play: the host runs on this machine and the player is "You".
    static inline const QString soloName = QStringLiteral("You");
    static inline const QString loopback = QStringLiteral("127.0.0.1");
    // Set to "1" in the environment of a game the lobby starts to rejoin the seat its
    // host still keeps for the player; the game finds the seat's token itself.
    static inline const char rejoinVariable[] = "WENDLEWICK_REJOIN";

    Role role = Role::None;
    QString playername;
    QString hostaddress;

    static GameCommandLine solo();
    // A host joins its own game on this machine.
    static GameCommandLine host(const QString &playername);
    static GameCommandLine join(const QString &playername, const QString &hostaddress);

    // The role, name and address `arguments` (without the program's name) give. A "+"
    // in the name becomes "-": a name travels in the middle of messages, where a "+"
    // would split it.
    static GameCommandLine parse(const QStringList &arguments);
    // The arguments that start the game in this role; none for None and Solo.
    QStringList arguments() const;

    friend bool operator==(const GameCommandLine &, const GameCommandLine &) = default;
};
