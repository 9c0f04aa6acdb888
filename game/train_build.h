// Training and building from the keyboard: the build orders the train key
// gives the selected main bases and the base-build key the selected
// peasants, each the order a build click would write. No Qt.
#pragma once

#include <cstdint>
#include <vector>

#include "game/picking.h"
#include "game/play_state.h"
#include "world/tigrok.h"

namespace kragmoor {

// Field units from a base's centre to the spot a trained peasant is placed
// on, per axis: its body (25) then clears the base's (25), so it neither
// overlaps the base nor stands in its way.
inline constexpr int32_t kTrainSpotDistance = 50;

// For each main base of `selection` that the player of `side` may order
// (MayOrder: live and of that side) and that is not already building
// ("stroit ..."; a new order would throw away the gold spent on it): the
// peasant build "stroit 1,X,Y", placing the peasant at a free spot next to
// the base. The spots are tried right, up, left, down, then the diagonals;
// free means no live entity, nor a spot chosen for another base, within
// touching distance (50). With none free, the peasant is placed on the base
// itself, as the computer player places them.
std::vector<PlayerOrder> TrainOrders(const World& world, const std::vector<int32_t>& selection,
                                     int side);

// The main-base build at `point`: "stroit 0,X,Y" with X, Y the lower-left
// corner of the cell under the point, as a build click on that cell writes,
// for the first peasant of `selection` that the player of `side` may order.
// One builder only: every builder of a base pays for it and places one, so
// two would stack two bases.
std::vector<PlayerOrder> BuildBaseOrders(const World& world, const std::vector<int32_t>& selection,
                                         FieldPoint point, int side);

}  // namespace kragmoor
