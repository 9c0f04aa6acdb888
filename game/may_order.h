// The one owner check of every order the game adds to the design's clicks:
// right-click, group and key orders, the train button, bots and network
// peers all ask it before an order reaches an entity. No Qt.
#pragma once

#include <cstdint>

#include "world/tigrok.h"

namespace kragmoor {

// Whether the player of `side` may order slot `slot`: it lies in the table
// and holds a live entity of that side. A side outside the player table
// (-1: the computer plays every side) orders nothing.
inline bool MayOrder(const World& world, int64_t side, int64_t slot) {
  if (!IsSide(side) || !IsSlot(slot)) return false;
  const Tigrok& t = world.entities[slot];
  return IsLive(t) && t.owner == side;
}

}  // namespace kragmoor
