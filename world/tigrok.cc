// Entity templates and the initial scenario.
#include "world/tigrok.h"

namespace kragmoor {

void MakeBase(World& world, int slot) {
  Tigrok& t = world.entities[slot];
  t.hp = kBaseHp;
  t.maxHp = kBaseHp;
  t.gold = 0;
  t.owner = 1;
  t.kind = kKindBase;
  t.order.clear();
}

void MakePeasant(World& world, int slot) {
  Tigrok& t = world.entities[slot];
  t.hp = kPeasantHp;
  t.maxHp = kPeasantHp;
  t.gold = 0;
  t.owner = 1;
  t.kind = kKindPeasant;
}

namespace {

Tigrok Fresh(int32_t kind, int32_t owner, float x, float y, float hp, int32_t gold) {
  Tigrok t;
  t.kind = kind;
  t.owner = owner;
  t.x = x;
  t.y = y;
  t.hp = hp;
  t.maxHp = hp;
  t.gold = gold;
  return t;
}

}  // namespace

void ClearWorld(World& world) {
  for (Tigrok& t : world.entities) t = Tigrok{};
  for (Player& p : world.players) p.gold = 0;
}

void SetUpScenario(World& world) {
  world.players[0] = {0.5f, 0.5f, 0.5f, world.players[0].gold};
  world.players[1] = {0.8f, 0.5f, 0.5f, world.players[1].gold};
  world.players[2] = {0.4f, 0.9f, 0.5f, world.players[2].gold};

  auto& e = world.entities;
  e[0] = Fresh(kKindMine, 0, 25.0f, 25.0f, kMineHp, kMineStock);
  // Slots 1, 4, 6 and 8 are whole-record copies of a mine or a base, then
  // moved (and, for bases, given their owner): every other field is the copy's.
  e[1] = e[0];
  e[1].x = 625.0f;
  e[1].y = 625.0f;
  e[2] = Fresh(kKindBase, 1, 275.0f, 275.0f, kBaseHp, 0);
  e[3] = Fresh(kKindPeasant, 1, 175.0f, 175.0f, kPeasantHp, 0);
  e[4] = e[2];
  e[4].x = 925.0f;
  e[4].y = 675.0f;
  e[4].owner = 0;
  e[5] = Fresh(kKindPeasant, 0, 825.0f, 625.0f, kPeasantHp, 0);
  e[6] = e[2];
  e[6].x = 275.0f;
  e[6].y = 525.0f;
  e[6].owner = 2;
  e[7] = Fresh(kKindPeasant, 2, 175.0f, 525.0f, kPeasantHp, 0);
  e[8] = e[0];
  e[8].x = 25.0f;
  e[8].y = 625.0f;
}

}  // namespace kragmoor
