// Train and build orders from the keyboard.
#include "game/train_build.h"

#include <string_view>

#include "game/may_order.h"
#include "world/cells.h"
#include "world/convert.h"
#include "world/orders.h"
#include "world/rules.h"
#include "world/str_man.h"

namespace kragmoor {

namespace {

// Touching distance: two bodies of kContactRadius.
constexpr double kTouching = 2.0 * kContactRadius;

bool Near(double ax, double ay, double bx, double by) {
  const double dx = ax - bx;
  const double dy = ay - by;
  return dx * dx + dy * dy < kTouching * kTouching;
}

struct Spot {
  double x;
  double y;
};

bool IsFree(const World& world, const std::vector<Spot>& taken, Spot spot) {
  for (const Tigrok& t : world.entities) {
    if (IsLive(t) && Near(t.x, t.y, spot.x, spot.y)) return false;
  }
  for (const Spot& other : taken) {
    if (Near(other.x, other.y, spot.x, spot.y)) return false;
  }
  return true;
}

}  // namespace

std::vector<PlayerOrder> TrainOrders(const World& world, const std::vector<int32_t>& selection,
                                     int side) {
  constexpr int kDirections[8][2] = {{1, 0}, {0, 1},  {-1, 0},  {0, -1},
                                     {1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
  std::vector<Spot> taken;
  std::vector<PlayerOrder> orders;
  for (const int32_t s : selection) {
    if (!MayOrder(world, side, s)) continue;
    const Tigrok& base = world.entities[s];
    if (base.kind != kKindBase) continue;
    if (LeadingWords<1>(base.order, ' ')[0] == kVerbBuild) continue;
    Spot spot{base.x, base.y};
    for (const auto& d : kDirections) {
      const Spot candidate{static_cast<double>(base.x) + d[0] * kTrainSpotDistance,
                           static_cast<double>(base.y) + d[1] * kTrainSpotDistance};
      if (IsFree(world, taken, candidate)) {
        spot = candidate;
        break;
      }
    }
    taken.push_back(spot);
    PlayerOrder order{s, {}};
    WriteOrder(order.text, kVerbBuild,
               {kBuildPeasant, RoundToInt32(spot.x - kPlacementOffset),
                RoundToInt32(spot.y - kPlacementOffset)});
    orders.push_back(std::move(order));
  }
  return orders;
}

std::vector<PlayerOrder> BuildBaseOrders(const World& world, const std::vector<int32_t>& selection,
                                         FieldPoint point, int side) {
  const int32_t cornerX = CellCorner(CellOf(point.x));
  const int32_t cornerY = CellCorner(CellOf(point.y));
  for (const int32_t s : selection) {
    if (!MayOrder(world, side, s) || world.entities[s].kind != kKindPeasant) continue;
    PlayerOrder order{s, {}};
    WriteOrder(order.text, kVerbBuild, {kBuildBase, cornerX, cornerY});
    return {order};
  }
  return {};
}

}  // namespace kragmoor
