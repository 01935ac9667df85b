#pragma once

#include <QString>
#include <QStringList>

// A message for the host, before framing: the wire text is the command, "+", and
// the fields joined by "+", ended by the 0xFF byte. No field contains 0xFF ("ÿ") or a
// character beyond Latin-1; ChatCommands::wireText replaces those with "?".
struct OutgoingMessage
{
    QString command;
    QStringList fields;

    // "CMD_chat+3+hello|clBlack", without the terminator.
    QString text() const { return command + QLatin1Char('+') + fields.join(QLatin1Char('+')); }

    bool operator==(const OutgoingMessage &) const = default;
};
