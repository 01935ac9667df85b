#pragma once

#include "companionwire.h"

// Why the player's game ended, as far as the window can tell, for the lobby that
// started it: the host's last words (the game is full, this player was removed) and
// how the connection to the host ended.
class GameEnding
{
public:
    void gameFull() { full_ = true; }
    void removed() { removed_ = true; }
    // The host said it is ending the game.
    void hostClosed() { hostClosed_ = true; }
    // The host said why the connection ends: nobody comes back from that.
    bool isFinal() const { return full_ || removed_ || hostClosed_; }

    // The reason once the connection has closed; `connectionFailed` when it failed
    // rather than being closed by the host.
    CompanionWire::Ending reason(bool connectionFailed) const;

private:
    bool full_ = false;
    bool removed_ = false;
    bool hostClosed_ = false;
};
