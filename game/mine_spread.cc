// Spreading peasants over the gold mines.
#include "game/mine_spread.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "game/may_order.h"
#include "world/orders.h"
#include "world/rules.h"

namespace kragmoor {

namespace {

double Distance2(const Tigrok& a, const Tigrok& b) {
  const double dx = static_cast<double>(a.x) - b.x;
  const double dy = static_cast<double>(a.y) - b.y;
  const double d2 = dx * dx + dy * dy;
  return d2 == d2 ? d2 : 1e300;  // NaN (a position not finite): farthest
}

bool Gives(const Tigrok& t) { return IsLive(t) && t.kind == kKindMine && t.gold >= kMinimumStock; }

// Peasants of `side` outside `peasants` whose order or next order walks to `mine`.
int Working(const World& world, int side, const std::vector<int32_t>& peasants, int mine) {
  std::string walk;
  WriteOrder(walk, kVerbWalk, {mine});
  int count = 0;
  for (int i = 0; i < kSlotCount; ++i) {
    const Tigrok& t = world.entities[i];
    if (!MayOrder(world, side, i) || t.kind != kKindPeasant) continue;
    if (std::find(peasants.begin(), peasants.end(), i) != peasants.end()) continue;
    if (t.order == walk || t.nextOrder == walk) ++count;
  }
  return count;
}

}  // namespace

std::vector<PlayerOrder> MineOrders(const World& world, int side,
                                    const std::vector<int32_t>& peasants, int mine) {
  std::vector<int32_t> left;
  for (const int32_t s : peasants) {
    if (MayOrder(world, side, s) && world.entities[s].kind == kKindPeasant) left.push_back(s);
  }
  std::sort(left.begin(), left.end());
  left.erase(std::unique(left.begin(), left.end()), left.end());
  if (!IsSlot(mine)) return {};

  std::vector<int> mines;
  for (int i = 0; i < kSlotCount; ++i) {
    if (Gives(world.entities[i])) mines.push_back(i);
  }
  const Tigrok& first = world.entities[mine];
  std::stable_sort(mines.begin(), mines.end(), [&](int a, int b) {
    if ((a == mine) != (b == mine)) return a == mine;
    return Distance2(world.entities[a], first) < Distance2(world.entities[b], first);
  });

  std::vector<PlayerOrder> orders;
  const auto send = [&orders](int32_t s, int m) {
    PlayerOrder order{s, {}};
    WriteOrder(order.text, kVerbWalk, {m});
    orders.push_back(std::move(order));
  };
  if (mines.empty()) {
    for (const int32_t s : left) send(s, mine);
    return orders;
  }
  for (const int m : mines) {
    if (left.empty()) break;
    const int room = kPeasantsPerMine - Working(world, side, peasants, m);
    if (room <= 0) continue;
    const Tigrok& at = world.entities[m];
    std::stable_sort(left.begin(), left.end(), [&](int32_t a, int32_t b) {
      return Distance2(world.entities[a], at) < Distance2(world.entities[b], at);
    });
    const size_t take = std::min(left.size(), static_cast<size_t>(room));
    for (size_t i = 0; i < take; ++i) send(left[i], m);
    left.erase(left.begin(), left.begin() + static_cast<std::ptrdiff_t>(take));
    std::sort(left.begin(), left.end());
  }
  std::sort(orders.begin(), orders.end(),
            [](const PlayerOrder& a, const PlayerOrder& b) { return a.slot < b.slot; });
  return orders;
}

}  // namespace kragmoor
