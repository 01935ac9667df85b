#pragma once

#include <QtGlobal>

// The two TCP ports every copy of the program agrees on.
namespace GamePorts {

// The game protocol: where a host listens and where players join.
inline constexpr quint16 game = 7772;
// The companion connection the game opens to the lobby on 127.0.0.1: the game says
// there why it ended, and the connection's end tells the lobby that it has.
inline constexpr quint16 companion = 9001;

} // namespace GamePorts
