// An entity in plain words, for the line under the information list:
// "Peasant of side 2, carrying 10 gold, walking to gold mine 0; health 80 of
// 100", in Russian or English, read from its fields and its order text. No Qt.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "game/play_state.h"
#include "sim/control.h"
#include "world/tigrok.h"

namespace kragmoor {

// The line for slot `slot` (any integer; outside the table, or a slot that
// is not live, gets a line that says so).
std::string DescribeEntity(const World& world, int slot, Language language);

// The information list's items in `language`: in Russian the design's
// (InfoItems) as they are; in English the selected entity's order, next
// order and kind in plain words ("walking to gold mine 1", "peasant") and
// no side for a gold mine.
std::vector<InfoItem> InfoItemsIn(const World& world, const ViewState& view, Language language);

// The status bar's line naming the player's sides, those whose computer-player
// box is unticked, as the game shows sides (1 to 3): "You: side 2", "You:
// sides 1, 3"; "The computer plays every side" when there are none.
std::string PlayerSidesText(const std::array<bool, kSideCount>& computerPlayer, Language language);

}  // namespace kragmoor
