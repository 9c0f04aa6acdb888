// The contact rules for one pair of slots i < j, as AggressionPass and
// ContactPass apply them to every pair in turn: attack orders between nearby
// enemies; pushing apart, gold taken from mines and delivered to bases. Each
// rule has beside it its reach: what lets the pair visitor skip a pair
// without calling it. A change to a rule must keep its reach true.
#pragma once

#include <cassert>
#include <cstdint>

#include "sim/pair_scan.h"
#include "sim/vec2d.h"
#include "world/orders.h"
#include "world/rules.h"
#include "world/tigrok.h"

namespace kragmoor {

// Both passes look only at pairs of two live entities: the pair visitor
// walks the live slots only, and the plain passes test it. The per-pair
// rules are always inlined: they are the body of the visitor's loop.

// ---- Aggression.

// Two live enemies closer than the attack range are ordered to attack each
// other; a gold mine is never made the target. REQUIRES: i and j are live.
[[gnu::always_inline]] inline void AggressionPair(World& world, int i, int j) {
  Tigrok& a = world.entities[i];
  Tigrok& b = world.entities[j];
  assert(IsLive(a) && IsLive(b) &&
         "AggressionPair: a dead slot was visited; the passes look at live pairs only");
  if (!(a.owner != b.owner && Distance2D(a, b) < kAttackRange)) return;
  if (a.kind != kKindMine) WriteOrder(b.order, kVerbAttack, {i});
  if (b.kind != kKindMine) WriteOrder(a.order, kVerbAttack, {j});
}

// Only pairs of two owners closer than the attack range do anything.
inline constexpr PairReach kAggressionReach{.range = kAttackRange, .mayAct = nullptr};

// ---- Contacts.

// The carrier g hands its gold to main base b of its own side: repair while
// b is damaged, otherwise into the side's purse; then g resumes nextOrder.
// A side outside the player table has no purse and takes no deliveries.
inline void Deliver(World& world, Tigrok& g, Tigrok& b) {
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
// none (slot 299 itself is never looked at).
inline int HomeBase(const World& world, int32_t owner) {
  for (int k = 0; k < kSlotCount - 1; ++k) {
    const Tigrok& t = world.entities[k];
    if (IsLive(t) && t.owner == owner && t.kind == kKindBase) return k;
  }
  return kSlotCount - 1;
}

// Taker ti takes a load from mine mi and is sent home (homeOf(owner) is
// HomeBase), unless it is a raider; either way it will come back to this
// mine.
template <class HomeOf>
void Take(World& world, int ti, int mi, int32_t limit, HomeOf& homeOf) {
  Tigrok& t = world.entities[ti];
  Tigrok& m = world.entities[mi];
  if (t.gold >= limit || m.gold < kMinimumStock) return;
  t.gold += kLoadStep;
  m.gold -= kLoadStep;
  if (t.progress != kRaidMarker) WriteOrder(t.order, kVerbWalk, {homeOf(t.owner)});
  WriteOrder(t.nextOrder, kVerbWalk, {mi});
}

// Two live entities closer than two contact radii touch: movable ones are
// pushed apart, carriers deliver to a main base of their side, an entity
// touching a mine takes from it, and enemies are ordered to attack each
// other. Returns whether they touched; when they did not, nothing changed.
// REQUIRES: i and j are live. homeOf(owner) gives HomeBase(world, owner), which no contact changes,
// so that a pass may look it up once per side.
template <class HomeOf>
[[gnu::always_inline]] inline bool ContactPair(World& world, int i, int j, HomeOf&& homeOf) {
  Tigrok& a = world.entities[i];
  Tigrok& b = world.entities[j];
  assert(IsLive(a) && IsLive(b) &&
         "ContactPair: a dead slot was visited; the passes look at live pairs only");
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
    Take(world, i, j, kLoadLimitLower, homeOf);
  } else if (a.owner != b.owner) {
    WriteOrder(a.order, kVerbAttack, {j});
  }
  if (a.kind == kKindMine) {
    Take(world, j, i, kLoadLimitHigher, homeOf);
  } else if (a.owner != b.owner) {
    WriteOrder(b.order, kVerbAttack, {i});
  }
  return true;
}

inline bool ContactPair(World& world, int i, int j) {
  return ContactPair(world, i, j, [&world](int32_t owner) { return HomeBase(world, owner); });
}

// Whether `t` may act in a touching pair whatever the other entity is: a
// peasant is pushed, a gold mine gives gold, an entity carrying gold
// delivers it. A touching pair of one owner neither of which may act does
// nothing at all: neither moves, no gold changes hands (a delivery needs a
// carrier with gold, a take needs a mine) and no attack order is written.
inline bool MayAct(const Tigrok& t) {
  return t.kind == kKindPeasant || t.kind == kKindMine || t.gold > 0;
}

// Only pairs closer than two contact radii touch, and of those only pairs of
// two owners or with an entity that MayAct do anything.
inline constexpr PairReach kContactReach{.range = 2 * kContactRadius, .mayAct = &MayAct};

}  // namespace kragmoor
