// FNV-1a fingerprint of the world.
#include "world/state_hash.h"

#include "world/fnv1a.h"
#include "world/tigrok_fields.h"

namespace kragmoor {

namespace {

// Parts 1 to 3: every slot, the players, the seed.
void HashWorld(const World& world, Fnv1a& h) {
  for (const Tigrok& t : world.entities) {
    for (const TigrokField& f : kTigrokFields) {
      switch (f.type) {
        case FieldType::kFloat:
          h.F32(t.*f.real);
          break;
        case FieldType::kText:
          h.Text(t.*f.text);
          break;
        case FieldType::kInt:
          h.I32(t.*f.integer);
          break;
      }
    }
  }
  for (const Player& p : world.players) {
    h.F32(p.red);
    h.F32(p.green);
    h.F32(p.blue);
    h.I32(p.gold);
  }
  h.U32(world.seed);
}

}  // namespace

uint64_t SyncHash(const World& world) {
  Fnv1a h;
  HashWorld(world, h);
  return h.value();
}

uint64_t StateHash(const World& world, const ViewState& v) {
  Fnv1a h;
  HashWorld(world, h);
  h.I32(v.mouseX);
  h.I32(v.mouseY);
  h.F32(v.cameraX);
  h.F32(v.cameraY);
  h.I32(v.cursorColumn);
  h.I32(v.cursorRow);
  h.I32(v.selected);
  return h.value();
}

}  // namespace kragmoor
