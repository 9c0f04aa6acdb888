// Pointing at entities instead of grid cells: the live entity nearest a
// field point, and the orders a right-click gives the selected entities.
// No Qt; the window passes the pointer as the view state holds it.
#pragma once

#include <cstdint>
#include <vector>

#include "game/play_state.h"
#include "world/tigrok.h"

namespace kragmoor {

// Field units. An entity's body reaches its contact radius (25) from its
// centre, and peasants that overlap are pushed apart, so the nearest centre
// within it is the entity under the pointer; a click on open ground a
// little further off picks nothing.
inline constexpr double kPickRadius = 25.0;

// A point on the field, field units.
struct FieldPoint {
  double x = 0.0;
  double y = 0.0;
};

// The field point under panel pixel (mouseX, mouseY), y counted upwards, as
// the frame draws it: the pixel less the camera offset.
FieldPoint PointUnderPixel(const ViewState& view, int32_t mouseX, int32_t mouseY);

// The field point under the mouse position of the view state.
FieldPoint PointUnderMouse(const ViewState& view);

// The live entity whose centre lies nearest `point`, strictly within
// `radius`; the lower slot on a tie; -1 when none. Positions that are not
// finite are never near.
int NearestLive(const World& world, FieldPoint point, double radius = kPickRadius);

// The orders of a right-click at `point` for the entities of `selection`
// that the player of `side` may order (MayOrder: live and of that side).
// On an entity of another side: attack it (peasants and main bases, the
// kinds that hit). On a gold mine: the peasants spread over the mines
// (MineOrders). On an entity of its own side: walk to it. On empty ground:
// walk to the centre of the cell under the point. The texts are those a go
// or attack click writes. Gold mines and the clicked entity itself get no
// order; nor does a main base sent walking, since bases do not move.
std::vector<PlayerOrder> RightClickOrders(const World& world, const std::vector<int32_t>& selection,
                                          FieldPoint point, int side);

}  // namespace kragmoor
