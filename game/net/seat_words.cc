// The words of a network game's set-up.
#include "game/net/seat_words.h"

#include <algorithm>

namespace kragmoor::net {

bool ParseHostSide(const std::string& word, RefereeSeat& seat, bool& me) {
  me = word == "me";
  seat = RefereeSeat{};
  if (word.empty()) return false;
  if (me || word == "player") {
    seat.kind = RefereeSeat::Kind::kPlayer;
  } else if (word == "none") {
    seat.kind = RefereeSeat::Kind::kNone;
  } else if (word == "ai") {
    seat.kind = RefereeSeat::Kind::kAi;
  } else if (word.starts_with("ai:")) {
    if (word.size() != 4 || word[3] < '1' || word[3] > '3') return false;
    seat.kind = RefereeSeat::Kind::kAi;
    seat.level = word[3] - '0';
  } else {
    seat.kind = RefereeSeat::Kind::kBot;
    seat.command = word;
  }
  return true;
}

bool ParseDroppedPlay(const std::string& word, DroppedPlay& dropped) {
  if (word == "none" || word == "pause") {
    dropped.kind = word == "none" ? DroppedPlay::Kind::kNone : DroppedPlay::Kind::kPause;
    return true;
  }
  if (word.size() != 4 || !word.starts_with("ai:") || word[3] < '1' || word[3] > '3') return false;
  dropped = {DroppedPlay::Kind::kAi, word[3] - '0'};
  return true;
}

bool ParseHostPort(const std::string& text, std::string& host, uint16_t& port) {
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0 || colon + 1 >= text.size()) return false;
  const std::string digits = text.substr(colon + 1);
  if (digits.size() > 5 ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  const int value = std::stoi(digits);
  if (value < 1 || value > 65535) return false;
  host = text.substr(0, colon);
  port = static_cast<uint16_t>(value);
  return true;
}

}  // namespace kragmoor::net
