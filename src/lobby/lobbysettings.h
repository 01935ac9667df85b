#pragma once

#include "profilefile.h"

#include <QString>
#include <QStringList>

// The lobby's own section "Lobby" of orinlobby.ini, the settings file it shares with
// the game: the player's name and the hosts joined lately, newest first. Every other
// section is left as it is.
class LobbySettings
{
public:
    static inline const QString section = QStringLiteral("Lobby");
    static constexpr int maxRecentHosts = 8;
    // Longer names are cut when read.
    static constexpr int maxNameLength = 30;

    explicit LobbySettings(const QString &path);

    QString name() const;
    bool setName(const QString &name);

    QStringList recentHosts() const;
    // Puts `host` first, drops an earlier entry of it (case aside) and the oldest
    // beyond maxRecentHosts.
    bool addRecentHost(const QString &host);

private:
    ProfileFile file_;
};
