#pragma once

#include "outgoingmessage.h"

#include <QString>

#include <optional>

// The chatter-sound menu: "<Cancel>" (tag 0) and the twenty sounds wave1..wave20,
// each sent to every player and played as the built-in sound "WAVE" and its tag.
class ChatterSounds
{
public:
    static constexpr int count = 20;

    // The caption (and hint) of menu item `tag`: "<Cancel>" for 0, "Doh" for 1 ...
    // "Crying" for 20; empty outside 0..20.
    static QString caption(int tag);

    // The caption of sound name "wave1".."wave20" (any case); nothing for others.
    static std::optional<QString> captionOfSound(const QString &soundName);

    // The message choosing item `tag` sends: "CMD_playasound+<slot>+wave<tag>+".
    // Nothing for "<Cancel>", for a watcher (slot above `maxplayers`), or while not
    // connected. The sender hears the sound when the host relays it back.
    static std::optional<OutgoingMessage> wave14Click(
        int tag, int myslot, bool isconnected, int maxplayers = 10);
};
