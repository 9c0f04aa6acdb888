// The pair passes as a naive double loop over the per-pair rules.
#include "tests/plain_pair_passes.h"

#include "sim/pair_rules.h"

namespace kragmoor {

namespace {

bool BothLive(const World& world, int i, int j) {
  return IsLive(world.entities[i]) && IsLive(world.entities[j]);
}

}  // namespace

void PlainAggressionPass(World& world) {
  for (int i = 0; i < kSlotCount; ++i) {
    for (int j = i + 1; j < kSlotCount; ++j) {
      if (BothLive(world, i, j)) AggressionPair(world, i, j);
    }
  }
}

void PlainContactPass(World& world) {
  for (int i = 0; i < kSlotCount; ++i) {
    for (int j = i + 1; j < kSlotCount; ++j) {
      if (BothLive(world, i, j)) ContactPair(world, i, j);
    }
  }
}

}  // namespace kragmoor
