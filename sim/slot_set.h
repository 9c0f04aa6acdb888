// A set of slot indices held as 300 bits and walked in ascending order: the
// frame step keeps the slots that may be live in one, so that its phases walk
// the set instead of the whole table.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include "world/tigrok.h"

namespace kragmoor {

class SlotSet {
 public:
  // REQUIRES: 0 <= slot < kSlotCount.
  void Insert(int slot) { words_[slot >> 6] |= uint64_t{1} << (slot & 63); }

  // REQUIRES: 0 <= slot < kSlotCount.
  bool Contains(int slot) const { return (words_[slot >> 6] >> (slot & 63) & 1) != 0; }

  // The smallest slot at or above `from` (0 or more) that is not a member,
  // kSlotCount when none.
  int NextAbsent(int from) const {
    int w = from >> 6;
    if (w >= kWords) return kSlotCount;
    uint64_t bits = ~words_[w] & (~uint64_t{0} << (from & 63));
    while (bits == 0) {
      if (++w == kWords) return kSlotCount;
      bits = ~words_[w];
    }
    const int slot = w * 64 + std::countr_zero(bits);
    return slot < kSlotCount ? slot : kSlotCount;
  }

  // The smallest member at or above `from` (0 or more), kSlotCount when none.
  int Next(int from) const {
    int w = from >> 6;
    if (w >= kWords) return kSlotCount;
    uint64_t bits = words_[w] & (~uint64_t{0} << (from & 63));
    while (bits == 0) {
      if (++w == kWords) return kSlotCount;
      bits = words_[w];
    }
    return w * 64 + std::countr_zero(bits);
  }

 private:
  static constexpr int kWords = (kSlotCount + 63) / 64;
  std::array<uint64_t, kWords> words_{};
};

// The slots of `world` that are live now.
inline SlotSet LiveSet(const World& world) {
  SlotSet set;
  for (int s = 0; s < kSlotCount; ++s) {
    if (IsLive(world.entities[s])) set.Insert(s);
  }
  return set;
}

// Every slot: for a phase run on its own, which cannot know more.
inline SlotSet AllSlots() {
  SlotSet set;
  for (int s = 0; s < kSlotCount; ++s) set.Insert(s);
  return set;
}

}  // namespace kragmoor
