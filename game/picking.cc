// Nearest-entity picking and right-click orders.
#include "game/picking.h"

#include <cmath>

#include "game/may_order.h"
#include "game/mine_spread.h"
#include "world/cells.h"
#include "world/convert.h"
#include "world/orders.h"
#include "world/rules.h"

namespace kragmoor {

FieldPoint PointUnderPixel(const ViewState& view, int32_t mouseX, int32_t mouseY) {
  return {static_cast<double>(mouseX) - static_cast<double>(view.cameraX),
          static_cast<double>(mouseY) - static_cast<double>(view.cameraY)};
}

FieldPoint PointUnderMouse(const ViewState& view) {
  return PointUnderPixel(view, view.mouseX, view.mouseY);
}

int NearestLive(const World& world, FieldPoint point, double radius) {
  int nearest = -1;
  double best = radius * radius;
  for (int i = 0; i < kSlotCount; ++i) {
    const Tigrok& t = world.entities[i];
    if (!IsLive(t)) continue;
    const double dx = static_cast<double>(t.x) - point.x;
    const double dy = static_cast<double>(t.y) - point.y;
    const double d2 = dx * dx + dy * dy;
    if (d2 < best) {  // NaN compares false: never near
      best = d2;
      nearest = i;
    }
  }
  return nearest;
}

std::vector<PlayerOrder> RightClickOrders(const World& world, const std::vector<int32_t>& selection,
                                          FieldPoint point, int side) {
  const int n = NearestLive(world, point);
  if (n != -1 && world.entities[n].kind == kKindMine) return MineOrders(world, side, selection, n);
  // The go click's point: the centre of the cell, truncated as the cursor
  // cell is.
  const int32_t centreX = CellCentre(CellOf(point.x));
  const int32_t centreY = CellCentre(CellOf(point.y));

  std::vector<PlayerOrder> orders;
  for (const int32_t s : selection) {
    if (!MayOrder(world, side, s) || s == n) continue;
    const Tigrok& t = world.entities[s];
    if (t.kind == kKindMine) continue;
    PlayerOrder order{s, {}};
    if (n == -1) {
      if (t.kind != kKindPeasant) continue;
      WriteOrder(order.text, kVerbPoint, {centreX, centreY});
    } else {
      const Tigrok& target = world.entities[n];
      const bool attack = target.owner != side;
      if (attack) {
        if (t.kind != kKindPeasant && t.kind != kKindBase) continue;
        WriteOrder(order.text, kVerbAttack, {n});
      } else {
        if (t.kind != kKindPeasant) continue;
        WriteOrder(order.text, kVerbWalk, {n});
      }
    }
    orders.push_back(std::move(order));
  }
  return orders;
}

}  // namespace kragmoor
