// The headless runner's output lines for slots, players, the view state and
// the set of live slots.
#pragma once

#include <string>

#include "world/tigrok.h"
#include "world/tigrok_fields.h"

namespace kragmoor {

// Every field of `t` in `fields` as " name=value", in the field table's
// order; texts in double quotes as they are (as `print` and `set` write them).
void AppendFields(std::string& out, const Tigrok& t, FieldMask fields);

// "slot 3 x=175 y=175 hp=100 maxHp=100 order="idle" nextOrder="" progress=0
// plan=0 owner=1 kind=-1 gold=0"
std::string FormatSlot(const World& world, int slot);
// "player 0 red=0.5 green=0.5 blue=0.5 gold=0"
std::string FormatPlayer(const World& world, int side);
// "view mouse=0,0 camera=0,0 cursor=0,0 selected=-1"
std::string FormatView(const ViewState& view);
// "live 0 1 2 3 4 5 6 7 8"
std::string FormatLive(const World& world);
// 16 lower-case hex digits.
std::string FormatHash(uint64_t hash);

}  // namespace kragmoor
