// Contacts between entities: the two all-pairs passes of every frame.
#include "sim/contacts.h"

#include <bit>
#include <cassert>

#include "sim/pair_scan.h"
#include "sim/vec2d.h"
#include "world/orders.h"
#include "world/rules.h"

namespace kragmoor {

namespace {

// The carrier g hands its gold to main base b of its own side: repair while
// b is damaged, otherwise into the side's purse; then g resumes nextOrder.
// A side outside the player table has no purse and takes no deliveries.
void Deliver(World& world, Tigrok& g, Tigrok& b) {
  if (!IsSide(b.owner)) return;
  if (b.hp < b.maxHp) {
    b.hp = static_cast<float>(b.hp + kRepairPerGold * g.gold);
    if (b.hp > b.maxHp) b.hp = b.maxHp;
    g.gold = 0;
  }
  int32_t& purse = world.players[b.owner].gold;
  purse = WrapAdd(purse, g.gold);
  g.gold = 0;
  g.order = g.nextOrder;
}

// The first live main base of `owner` in slots 0 to 298; 299 when there is
// none (slot 299 itself is never looked at). Looked for among the live slots
// only, which are the same throughout the pass.
int HomeBase(const World& world, const LiveSlots& live, int32_t owner) {
  for (int k = 0; k < live.count && live.slot[k] < kSlotCount - 1; ++k) {
    if (live.owner[k] == owner && world.entities[live.slot[k]].kind == kKindBase) {
      return live.slot[k];
    }
  }
  return kSlotCount - 1;
}

// Taker t (slot ti) takes a load from mine m (slot mi) and is sent home,
// unless it is a raider; either way it will come back to this mine.
void Take(World& world, const LiveSlots& live, int ti, int mi, int32_t limit) {
  Tigrok& t = world.entities[ti];
  Tigrok& m = world.entities[mi];
  if (t.gold >= limit || m.gold < kMinimumStock) return;
  t.gold += kLoadStep;
  m.gold -= kLoadStep;
  if (t.progress != kRaidMarker) WriteOrder(t.order, kVerbWalk, {HomeBase(world, live, t.owner)});
  WriteOrder(t.nextOrder, kVerbWalk, {mi});
}

// The rules for one pair; false, having changed nothing, when they do not
// touch.
bool ContactPair(World& world, const LiveSlots& live, int i, int j) {
  Tigrok& a = world.entities[i];
  Tigrok& b = world.entities[j];
  Vec2 pa{a.x, a.y};
  Vec2 pb{b.x, b.y};
  const bool touching = SeparatePair(pa, pb, kContactRadius, kContactRadius, a.kind, b.kind);
  a.x = pa.x;
  a.y = pa.y;
  b.x = pb.x;
  b.y = pb.y;
  if (!touching) return false;

  if (a.owner == b.owner) {
    if (a.kind == kKindBase && b.gold > 0) Deliver(world, b, a);
    if (b.kind == kKindBase && a.gold > 0) Deliver(world, a, b);
  }
  if (b.kind == kKindMine) {
    Take(world, live, i, j, kLoadLimitLower);
  } else if (a.owner != b.owner) {
    WriteOrder(a.order, kVerbAttack, {j});
  }
  if (a.kind == kKindMine) {
    Take(world, live, j, i, kLoadLimitHigher);
  } else if (a.owner != b.owner) {
    WriteOrder(b.order, kVerbAttack, {i});
  }
  return true;
}

// AggressionPass over the gathered live slots: the pairs in the rules' order,
// leaving out pairs with a dead slot, pairs of one owner and pairs that the
// per-axis test rules out, none of which would do anything. The pass moves
// nothing and changes no owner, so a block's lanes stay as found.
void Aggression(World& world, const LiveSlots& live) {
  auto& e = world.entities;
  // The entries after the last one whose owner differs from the final
  // entry's all have that one owner: their rows hold no pair of two owners.
  // When a single side is left on the field, no row is scanned at all.
  int lastOther = live.count - 1;
  while (lastOther >= 0 && live.owner[lastOther] == live.owner[live.count - 1]) --lastOther;
  for (int a = 0; a <= lastOther; ++a) {
    const int i = live.slot[a];
    for (NearBlock block = NextEnemyNearBlock(live, a, kAttackRange, a + 1); block.lanes != 0;
         block = NextEnemyNearBlock(live, a, kAttackRange, block.base + kScanBlock)) {
      for (unsigned lanes = block.lanes; lanes != 0; lanes &= lanes - 1) {
        const int j = live.slot[block.base + std::countr_zero(lanes)];
        if (!(Distance2D(e[i], e[j]) < kAttackRange)) continue;
        if (e[i].kind != kKindMine) WriteOrder(e[j].order, kVerbAttack, {i});
        if (e[j].kind != kKindMine) WriteOrder(e[i].order, kVerbAttack, {j});
      }
    }
  }
}

// ContactPair for entries a and b, then their copies refreshed when they
// touched: a push may have moved either, a take or a delivery changed what
// they carry, and the next tests must see both. Returns whether they touched.
bool VisitPair(World& world, LiveSlots& live, int a, int b) {
  const int i = live.slot[a];
  const int j = live.slot[b];
  if (!ContactPair(world, live, i, j)) return false;
  const Tigrok& ta = world.entities[i];
  const Tigrok& tb = world.entities[j];
  live.x[a] = ta.x;
  live.y[a] = ta.y;
  live.x[b] = tb.x;
  live.y[b] = tb.y;
  live.acts[a] = MayAct(ta) ? -1 : 0;
  live.acts[b] = MayAct(tb) ? -1 : 0;
  return true;
}

// The pairs of entry a with the entries after it, in ascending order,
// leaving out the pairs that the per-axis test rules out, which cannot touch,
// and the pairs of one owner neither of which may act, which do nothing.
//
// A visit changes only a and b, so the block's later lanes need testing
// again only against what a is now. The next visit goes on with the lanes
// as they were found, and the new test only decides whether to start the
// scan again after b: the chain of visits in a crowded row waits for a's
// position, never for a scan of it as well.
void ContactRow(World& world, LiveSlots& live, int a) {
  constexpr float kTouch = 2 * kContactRadius;
  int from = a + 1;
  while (from < live.count) {
    const NearBlock block = NextActiveNearBlock(live, a, kTouch, from);
    from = block.base + kScanBlock;
    unsigned lanes = block.lanes;
    while (lanes != 0) {
      const int lane = std::countr_zero(lanes);
      const bool touched = VisitPair(world, live, a, block.base + lane);
      lanes &= lanes - 1;
      if (!touched) continue;                      // nothing changed
      const unsigned later = ~((2u << lane) - 1);  // the lanes after b
      if ((ActiveNearLanes(live, a, kTouch, block.base) & later) != lanes) {
        from = block.base + lane + 1;
        break;
      }
    }
  }
}

// ContactPass over the gathered live slots, row by row.
void Contacts(World& world, LiveSlots& live) {
  for (int a = 0; a < live.count; ++a) ContactRow(world, live, a);
}

}  // namespace

void AggressionPass(World& world, FrameScratch& scratch) {
  assert(ScratchFits(scratch, world));
  Aggression(world, GatherLiveSlots(world, scratch));  // writes orders only: the copies stay exact
}

void ContactPass(World& world, FrameScratch& scratch) {
  assert(ScratchFits(scratch, world));
  Contacts(world, GatherLiveSlots(world, scratch));  // refreshes the copies after each push
}

}  // namespace kragmoor
