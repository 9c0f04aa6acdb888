// The words a network game is set up with, for `serve`, `join` and the
// window's --host and --join alike: a side, what a dropped seat does, and
// an address.
#pragma once

#include <cstdint>
#include <string>

#include "game/net/referee.h"

namespace kragmoor::net {

// Reads one side word of `serve` or `--host`: me, player, none, ai, ai:L or
// a bot command. False for an empty word or a bad level.
bool ParseHostSide(const std::string& word, RefereeSeat& seat, bool& me);

// --dropped's word: ai:L, none or pause.
bool ParseDroppedPlay(const std::string& word, DroppedPlay& dropped);

// "HOST:PORT", the port 1 to 65535.
bool ParseHostPort(const std::string& text, std::string& host, uint16_t& port);

}  // namespace kragmoor::net
