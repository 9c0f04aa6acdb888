// Fuzzes the two pair passes against the plain reference (tests/plain_pair_passes.h): the same
// per-pair rules for every pair (i, j), i < j, of all 300 slots in order, with no look-up of live
// slots and no per-axis skipping, so any pair the visitor skips wrongly shows. On tables filled
// from the input (NaN and infinite positions, any owners, kinds and gold) both must leave the world
// identical, bit for bit, round after round; between rounds an order pass moves, hits and builds.
//
// Input: a flags byte (bit 3: start from the initial scenario, bit 4: fill
// every free slot), three purses, then slot records to the end, as in
// fuzz_frames (see fuzz/table_bytes.h).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/table_bytes.h"
#include "game/print.h"
#include "sim/contacts.h"
#include "sim/frame_step.h"
#include "sim/slot_set.h"
#include "tests/plain_pair_passes.h"
#include "world/orders.h"
#include "world/state_hash.h"

namespace {

using namespace kragmoor;

constexpr int kRounds = 8;

void CheckSame(const World& got, const World& want, int round) {
  if (WorldHash(got) == WorldHash(want)) return;
  std::fprintf(stderr, "fuzz_pairs: round %d differs from the reference\n", round);
  for (int s = 0; s < kSlotCount; ++s) {
    const std::string a = FormatSlot(got, s);
    const std::string b = FormatSlot(want, s);
    if (a != b) std::fprintf(stderr, "  got  %s\n  want %s\n", a.c_str(), b.c_str());
  }
  for (int side = 0; side < kSideCount; ++side) {
    std::fprintf(stderr, "  side %d purse got %d want %d\n", side, got.players[side].gold,
                 want.players[side].gold);
  }
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Bytes in(data, size);
  World world;
  const uint8_t flags = in.Byte();
  if ((flags & 0x08) != 0) SetUpScenario(world);
  for (Player& p : world.players) p.gold = in.Int();
  fuzz::ReadSlots(in, world, (flags & 0x10) != 0);

  for (int round = 0; round < kRounds; ++round) {
    World want = world;
    PlainAggressionPass(want);
    PlainContactPass(want);
    // The passes over a scratch of the live slots, as the frame step runs
    // them, or of every slot, dead ones included.
    FrameScratch scratch(round % 2 == 0 ? LiveSet(world) : AllSlots());
    AggressionPass(world, scratch);
    ContactPass(world, scratch);
    CheckSame(world, want, round);
    try {
      FrameScratch scratch(world);
      OrderPass(world, nullptr, scratch);
    } catch (const ConversionError&) {
      // The pass ended early at an order that does not convert.
    }
  }
  return 0;
}
