// Group orders of the go, attack and build clicks.
#include "game/group_orders.h"

#include <string>

#include "game/may_order.h"
#include "game/mine_spread.h"
#include "sim/control.h"
#include "world/cells.h"
#include "world/convert.h"
#include "world/orders.h"
#include "world/rules.h"

namespace kragmoor {

std::vector<PlayerOrder> GroupClickOrders(const World& world, const ViewState& view,
                                          int32_t clickMode, int32_t buildItem,
                                          const std::vector<int32_t>& selection, int side) {
  if (clickMode != kModeGo && clickMode != kModeAttack && clickMode != kModeBuild) return {};
  const int n = HitTest(world, view);
  std::vector<int32_t> rest;
  for (const int32_t s : selection) {
    if (s == view.selected || !MayOrder(world, side, s)) continue;
    const int32_t kind = world.entities[s].kind;
    const bool walks = kind == kKindPeasant;
    const bool hits = kind == kKindPeasant || kind == kKindBase;
    if (clickMode == kModeGo ? walks : hits) rest.push_back(s);
  }
  if (rest.empty()) return {};
  if (clickMode == kModeGo && n != -1 && IsLive(world.entities[n]) &&
      world.entities[n].kind == kKindMine) {
    return MineOrders(world, side, rest, n);
  }

  const int32_t cornerX = CellCorner(view.cursorColumn);
  const int32_t cornerY = CellCorner(view.cursorRow);
  std::string text;
  if (clickMode == kModeGo) {
    if (n != -1) {
      WriteOrder(text, kVerbWalk, {n});
    } else {
      WriteOrder(text, kVerbPoint,
                 {WrapAdd(cornerX, kPlacementOffset), WrapAdd(cornerY, kPlacementOffset)});
    }
  } else if (clickMode == kModeAttack) {
    if (n == -1) return {};
    WriteOrder(text, kVerbAttack, {n});
  } else {
    // Only the two items the build radio group offers name something to build.
    if (n != -1 || (buildItem != kBuildBase && buildItem != kBuildPeasant)) return {};
    WriteOrder(text, kVerbBuild, {buildItem, cornerX, cornerY});
  }
  std::vector<PlayerOrder> orders;
  for (const int32_t s : rest) {
    if (clickMode == kModeAttack && s == n) continue;
    orders.push_back({s, text});
  }
  return orders;
}

}  // namespace kragmoor
