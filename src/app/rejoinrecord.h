#pragma once

#include "wire.h"

#include <QDateTime>
#include <QString>

#include <optional>

// A seat kept for this player in a game it gave up coming back to, for the lobby's
// "Rejoin": the game's address, the seat's token and when the host gives the seat up.
// It lives in a file that only this user can read (mode 0600) in the runtime folder:
// the lobby never reads it, and no token goes on a command line, into the
// environment or to the lobby's connection. A game the lobby starts to rejoin
// (GameCommandLine::rejoinVariable) takes it (reads and removes it) and comes back
// with it.
struct RejoinRecord
{
    static inline const QString fileName = QStringLiteral("wendlewick-rejoin");
    // The file is never larger than this; a larger one is no record.
    static constexpr qint64 maxFileBytes = 1024;

    QString host;
    quint16 port = 0;
    int slot = 0;
    Wire::RejoinToken token {};
    QDateTime expires;

    // Writes the record into `folder`, replacing one there; false when it cannot.
    bool save(const QString &folder) const;
    // The record in `folder`, removed from it; nothing when there is none, when it
    // cannot be read, or when it expired before `now`.
    static std::optional<RejoinRecord> take(const QString &folder, const QDateTime &now);
    static QString path(const QString &folder);
};
