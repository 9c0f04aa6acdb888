// Several entities at once: the selection set, box selection, select-all,
// the groups and the line that counts what is selected. Pure functions of
// the world and the selection set; the inputs that record them are in
// game/play_inputs.h. No Qt.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/picking.h"
#include "game/play_state.h"
#include "world/tigrok.h"

namespace kragmoor {

// `slots` in the selection's own form: table slots only, ascending, once each.
std::vector<int32_t> NormalSelection(std::vector<int32_t> slots);

// What is selected now: the set while its first slot is still `selected`
// (the view's); otherwise that one entity, or nothing. With `selectedGone`
// (the entity `selected` picked is no longer in its slot) that slot is left
// out.
std::vector<int32_t> CurrentSelection(int32_t selected, const std::vector<int32_t>& set,
                                      bool selectedGone = false);

// Every live entity of `side` but the gold mines, ascending (select-all).
std::vector<int32_t> SideEntities(const World& world, int side);

// A drag from `start` to `end` (field points): every live entity, gold
// mines aside, inside the box (edges included) that belongs to one side. The
// side is that of the live entity nearest `start` (NearestLive); when there
// is none there, or it is a gold mine, it is `playerSide` (-1: nothing).
std::vector<int32_t> BoxSelection(const World& world, FieldPoint start, FieldPoint end,
                                  int playerSide);

// The union of two selections (Shift adds).
std::vector<int32_t> MergedSelection(const std::vector<int32_t>& a, const std::vector<int32_t>& b);

// The next idle peasant of `side` (live, its order empty or "idle") after
// slot `after`, going round to the lowest; `after` itself when it is the
// only one; -1 when there is none.
int NextIdlePeasant(const World& world, int side, int after);

// The live ones of `slots`.
std::vector<int32_t> LiveOnly(const World& world, const std::vector<int32_t>& slots);

// The mean position of the live finite ones of `slots`; false when none.
bool CentreOf(const World& world, const std::vector<int32_t>& slots, FieldPoint& centre);

// What is selected, counted by kind: "5 peasants, 1 main base" or
// "5 крестьян, 1 главная база"; dead entities are not counted; "nothing
// selected" / "ничего не выбрано" when nothing live is.
std::string SelectionCountLine(const World& world, const std::vector<int32_t>& slots,
                               Language language);

}  // namespace kragmoor
