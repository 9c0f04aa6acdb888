// The design's go, attack and build clicks for a whole group: the click
// itself writes into the one selected entity as designed; these are the
// orders that carry the same command to the rest of what is selected. No Qt.
#pragma once

#include <cstdint>
#include <vector>

#include "game/play_state.h"
#include "world/tigrok.h"

namespace kragmoor {

// The orders a click in `clickMode` (with build item `buildItem`) on the
// view's cursor cell gives the members of `selection` other than the view's
// selected entity, for those the player of `side` may order: the order text
// the click writes (same hit test, same cell), to the kinds that carry it
// out (peasants walk; peasants and bases attack and build). A go click on a
// gold mine spreads the peasants over the mines (MineOrders), counting the
// selected one among those already working its mine. No orders where the
// click writes none (select and repair modes, an attack or a build on a
// cell it does not apply to); an attack gives none to its own target.
std::vector<PlayerOrder> GroupClickOrders(const World& world, const ViewState& view,
                                          int32_t clickMode, int32_t buildItem,
                                          const std::vector<int32_t>& selection, int side);

}  // namespace kragmoor
