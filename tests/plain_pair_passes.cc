// The pair passes written plainly from their rules, as a reference.
#include "tests/plain_pair_passes.h"

#include <string>

#include "sim/vec2d.h"

namespace kragmoor {

namespace {

bool Live(const Tigrok& t) { return t.hp > 0.0f; }

std::string Attack(int n) { return "atakovat " + std::to_string(n); }
std::string Walk(int n) { return "idtiza " + std::to_string(n); }

// Giver g hands its gold to main base b; an owner outside the player table
// has no purse and takes nothing.
void PlainDeliver(World& world, Tigrok& g, Tigrok& b) {
  if (b.owner < 0 || b.owner >= kSideCount) return;
  if (b.hp < b.maxHp) {
    b.hp = static_cast<float>(b.hp + 2.0 * g.gold);
    if (b.hp > b.maxHp) b.hp = b.maxHp;
    g.gold = 0;
  }
  int32_t& purse = world.players[b.owner].gold;
  purse = static_cast<int32_t>(static_cast<uint32_t>(purse) + static_cast<uint32_t>(g.gold));
  g.gold = 0;
  g.order = g.nextOrder;
}

void PlainTake(World& world, int taker, int mine, int32_t limit) {
  Tigrok& t = world.entities[taker];
  Tigrok& m = world.entities[mine];
  if (t.gold >= limit || m.gold < 10) return;
  t.gold += 10;
  m.gold -= 10;
  int home = 299;
  for (int k = 0; k < 299; ++k) {
    const Tigrok& b = world.entities[k];
    if (Live(b) && b.owner == t.owner && b.kind == kKindBase) {
      home = k;
      break;
    }
  }
  if (t.progress != -777) t.order = Walk(home);
  t.nextOrder = Walk(mine);
}

}  // namespace

void PlainAggressionPass(World& world) {
  auto& e = world.entities;
  for (int i = 0; i < kSlotCount; ++i) {
    for (int j = i + 1; j < kSlotCount; ++j) {
      if (!(Distance2D(e[i], e[j]) < 100.0f && Live(e[i]) && Live(e[j]) &&
            e[i].owner != e[j].owner)) {
        continue;
      }
      if (e[i].kind != kKindMine) e[j].order = Attack(i);
      if (e[j].kind != kKindMine) e[i].order = Attack(j);
    }
  }
}

void PlainContactPass(World& world) {
  auto& e = world.entities;
  for (int i = 0; i < kSlotCount; ++i) {
    for (int j = i + 1; j < kSlotCount; ++j) {
      if (!(Live(e[i]) && Live(e[j]))) continue;
      Vec2 a{e[i].x, e[i].y};
      Vec2 b{e[j].x, e[j].y};
      const bool touching = SeparatePair(a, b, 25.0f, 25.0f, e[i].kind, e[j].kind);
      e[i].x = a.x;
      e[i].y = a.y;
      e[j].x = b.x;
      e[j].y = b.y;
      if (!touching) continue;
      if (e[i].owner == e[j].owner) {
        if (e[i].kind == kKindBase && e[j].gold > 0) PlainDeliver(world, e[j], e[i]);
        if (e[j].kind == kKindBase && e[i].gold > 0) PlainDeliver(world, e[i], e[j]);
      }
      if (e[j].kind == kKindMine) {
        PlainTake(world, i, j, 30);
      } else if (e[i].owner != e[j].owner) {
        e[i].order = Attack(j);
      }
      if (e[i].kind == kKindMine) {
        PlainTake(world, j, i, 10);
      } else if (e[i].owner != e[j].owner) {
        e[j].order = Attack(i);
      }
    }
  }
}

}  // namespace kragmoor
