// What a player adds to the game beyond the design's single selection: the
// selection set and the stored groups. Plain data; the rules are in
// game/selection.h. Not part of the state hash; saved games carry it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kragmoor {

inline constexpr int kGroupCount = 9;  // groups 1 to 9, as the number keys

// Every text the game shows the player comes in both of these.
enum class Language { kRussian, kEnglish };

struct PlayState {
  // Selected slots, ascending and without repeats. It is in use only while
  // its first slot is the world's `selected` (what the information list
  // shows); anything else that changes `selected` (a select click, `select
  // N`, the window's own code) thereby drops it.
  std::vector<int32_t> selection;
  // Group g (1 to 9) at index g - 1: slots ascending, as stored.
  std::array<std::vector<int32_t>, kGroupCount> groups;
};

// One player's order to one entity: the input `order SLOT "TEXT"` (GiveOrder).
struct PlayerOrder {
  int32_t slot = -1;
  std::string text;
  bool operator==(const PlayerOrder&) const = default;
};

}  // namespace kragmoor
