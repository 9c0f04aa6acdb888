// Plain words of the play layer that several of its parts share: the number
// of groups, the two languages of the texts shown to the player, and one
// order to one entity.
#pragma once

#include <cstdint>
#include <string>

namespace kragmoor {

inline constexpr int kGroupCount = 9;  // groups 1 to 9, as the number keys

// Every text the game shows the player comes in both of these.
enum class Language { kRussian, kEnglish };

// One player's order to one entity: the input `order SLOT "TEXT"`.
struct PlayerOrder {
  int32_t slot = -1;
  std::string text;
  bool operator==(const PlayerOrder&) const = default;
};

}  // namespace kragmoor
