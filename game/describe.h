// An entity in plain words, for the line under the information list:
// "Peasant of side 2, carrying 10 gold, walking to gold mine 0; health 80 of
// 100", in Russian or English, read from its fields and its order text. No Qt.
#pragma once

#include <string>

#include "game/play_state.h"
#include "world/tigrok.h"

namespace kragmoor {

// The line for slot `slot` (any integer; outside the table, or a slot that
// is not live, gets a line that says so).
std::string DescribeEntity(const World& world, int slot, Language language);

}  // namespace kragmoor
