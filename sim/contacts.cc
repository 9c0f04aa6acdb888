// Contacts between entities: the two all-pairs passes of every frame.
#include "sim/contacts.h"

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

void ContactPair(World& world, const LiveSlots& live, int i, int j) {
  Tigrok& a = world.entities[i];
  Tigrok& b = world.entities[j];
  Vec2 pa{a.x, a.y};
  Vec2 pb{b.x, b.y};
  const bool touching = SeparatePair(pa, pb, kContactRadius, kContactRadius, a.kind, b.kind);
  a.x = pa.x;
  a.y = pa.y;
  b.x = pb.x;
  b.y = pb.y;
  if (!touching) return;

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
}

// AggressionPass over the gathered live slots: the pairs in the rules' order,
// leaving out pairs with a dead slot, pairs of one owner and pairs that the
// per-axis test rules out, none of which would do anything.
void Aggression(World& world, const LiveSlots& live) {
  auto& e = world.entities;
  // The entries after the last one whose owner differs from the final
  // entry's all have that one owner: their rows hold no pair of two owners.
  // When a single side is left on the field, no row is scanned at all.
  int lastOther = live.count - 1;
  while (lastOther >= 0 && live.owner[lastOther] == live.owner[live.count - 1]) --lastOther;
  for (int a = 0; a <= lastOther; ++a) {
    const int i = live.slot[a];
    for (int b = NextEnemyNear(live, a, kAttackRange, a + 1); b < live.count;
         b = NextEnemyNear(live, a, kAttackRange, b + 1)) {
      const int j = live.slot[b];
      if (!(Distance2D(e[i], e[j]) < kAttackRange)) continue;
      if (e[i].kind != kKindMine) WriteOrder(e[j].order, kVerbAttack, {i});
      if (e[j].kind != kKindMine) WriteOrder(e[i].order, kVerbAttack, {j});
    }
  }
}

// ContactPass over the gathered live slots, leaving out the pairs with a
// dead slot, the pairs that the per-axis test rules out, which cannot touch,
// and the pairs of one owner neither of which may act, which do nothing.
void Contacts(World& world, LiveSlots& live) {
  auto& e = world.entities;
  for (int a = 0; a < live.count; ++a) {
    const int i = live.slot[a];
    for (int b = NextActiveNear(live, a, 2 * kContactRadius, a + 1); b < live.count;
         b = NextActiveNear(live, a, 2 * kContactRadius, b + 1)) {
      const int j = live.slot[b];
      ContactPair(world, live, i, j);
      // A push may have moved either entity, and a take or a delivery changed
      // what they carry; the next tests must see both.
      live.x[a] = e[i].x;
      live.y[a] = e[i].y;
      live.x[b] = e[j].x;
      live.y[b] = e[j].y;
      live.acts[a] = MayAct(e[i]) ? -1 : 0;
      live.acts[b] = MayAct(e[j]) ? -1 : 0;
    }
  }
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
