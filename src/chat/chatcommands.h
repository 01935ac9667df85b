#pragma once

#include "outgoingmessage.h"

#include <QColor>
#include <QString>

#include <optional>

// What the chat input box sends and how relayed chat is read.
class ChatCommands
{
public:
    // The result of pressing Enter in the chat input box.
    struct SendResult
    {
        std::optional<OutgoingMessage> message; // to send, if any
        QString systemLine; // a "0+" line to show, if not empty
        bool clearInput = false; // whether the input box is emptied
    };

    // A relayed chat line and the colour to show it in.
    struct ReceivedLine
    {
        QString line;
        QColor colour;
    };

    // Typed text becomes "CMD_chat" (slot, text "|" colour); "/me" and what follows
    // its fourth character becomes "CMD_action" (slot, rest "|" colour). Other "/"
    // commands send nothing and show a hint. Nothing happens while not connected.
    static SendResult sendit(const QString &text, bool isconnected, int myslot, const QColor &colour);

    // Reads the fields of a relayed "CMD_chat" or "CMD_action": the line, "|", and a
    // colour text. A line whose colour is missing or unreadable is red. A "|" typed in
    // the chat stays part of the line: the colour follows the last "|".
    static ReceivedLine chatrecieved(const QString &data);

    // `text` as the 8-bit wire can carry it: characters beyond Latin-1, and "ÿ"
    // (0xFF, the message terminator), become "?".
    static QString wireText(const QString &text);

    // The hint shown when a typed line starts with "/" but is not "/me".
    static QString unknownCommandLine(const QString &text);
};
