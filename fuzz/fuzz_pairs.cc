// Fuzzes the two pair passes against a plain reference written here from
// their rules: every pair (i, j), i < j, of all 300 slots in order, with no
// look-up of live slots and no per-axis skipping. On tables filled from the
// input (NaN and infinite positions, any owners, kinds and gold) both must
// leave the world identical, bit for bit, round after round; between rounds
// an order pass moves, hits and builds.
//
// Input: a flags byte (bit 3: start from the initial scenario, bit 4: fill
// every free slot), three purses, then slot records to the end, as in
// fuzz_frames (see fuzz/table_bytes.h).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/table_bytes.h"
#include "runner/print.h"
#include "sim/contacts.h"
#include "sim/frame_step.h"
#include "sim/slot_set.h"
#include "sim/vec2d.h"
#include "world/orders.h"
#include "world/state_hash.h"

namespace {

using namespace kragmoor;

constexpr int kRounds = 8;

// The rules of the pair passes, one pair at a time.
namespace reference {

void Deliver(World& world, Tigrok& g, Tigrok& b) {
  if (!IsSide(b.owner)) return;  // no purse outside the player table
  if (b.hp < b.maxHp) {
    b.hp = static_cast<float>(b.hp + 2.0 * g.gold);
    if (b.hp > b.maxHp) b.hp = b.maxHp;
    g.gold = 0;
  }
  world.players[b.owner].gold = WrapAdd(world.players[b.owner].gold, g.gold);
  g.gold = 0;
  g.order = g.nextOrder;
}

// Slots 0 to 298 are tested; 299 when none is a live main base of `owner`.
int HomeBase(const World& world, int32_t owner) {
  for (int k = 0; k < kSlotCount - 1; ++k) {
    const Tigrok& t = world.entities[k];
    if (IsLive(t) && t.owner == owner && t.kind == kKindBase) return k;
  }
  return kSlotCount - 1;
}

void Take(World& world, int ti, int mi, int32_t limit) {
  Tigrok& t = world.entities[ti];
  Tigrok& m = world.entities[mi];
  if (t.gold >= limit || m.gold < 10) return;
  t.gold += 10;
  m.gold -= 10;
  if (t.progress != -777) WriteOrder(t.order, kVerbWalk, {HomeBase(world, t.owner)});
  WriteOrder(t.nextOrder, kVerbWalk, {mi});
}

void AggressionPass(World& world) {
  auto& e = world.entities;
  for (int i = 0; i < kSlotCount; ++i) {
    for (int j = i + 1; j < kSlotCount; ++j) {
      if (!(Distance2D(e[i], e[j]) < 100.0f && IsLive(e[i]) && IsLive(e[j]) &&
            e[i].owner != e[j].owner)) {
        continue;
      }
      if (e[i].kind != kKindMine) WriteOrder(e[j].order, kVerbAttack, {i});
      if (e[j].kind != kKindMine) WriteOrder(e[i].order, kVerbAttack, {j});
    }
  }
}

void ContactPass(World& world) {
  auto& e = world.entities;
  for (int i = 0; i < kSlotCount; ++i) {
    for (int j = i + 1; j < kSlotCount; ++j) {
      Tigrok& a = e[i];
      Tigrok& b = e[j];
      if (!IsLive(a) || !IsLive(b)) continue;
      Vec2 pa{a.x, a.y};
      Vec2 pb{b.x, b.y};
      const bool touching = SeparatePair(pa, pb, 25.0f, 25.0f, a.kind, b.kind);
      a.x = pa.x;
      a.y = pa.y;
      b.x = pb.x;
      b.y = pb.y;
      if (!touching) continue;
      if (a.owner == b.owner) {
        if (a.kind == kKindBase && b.gold > 0) Deliver(world, b, a);
        if (b.kind == kKindBase && a.gold > 0) Deliver(world, a, b);
      }
      if (b.kind == kKindMine) {
        Take(world, i, j, 30);
      } else if (a.owner != b.owner) {
        WriteOrder(a.order, kVerbAttack, {j});
      }
      if (a.kind == kKindMine) {
        Take(world, j, i, 10);
      } else if (a.owner != b.owner) {
        WriteOrder(b.order, kVerbAttack, {i});
      }
    }
  }
}

}  // namespace reference

void CheckSame(const World& got, const World& want, int round) {
  if (StateHash(got) == StateHash(want)) return;
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
  int last = -1;
  while (!in.empty()) {
    const int slot = ((in.Byte() << 8) | in.Byte()) % kSlotCount;
    fuzz::ReadSlot(in, world.entities[slot]);
    last = slot;
  }
  if ((flags & 0x10) != 0 && last != -1) {
    for (int i = 0; i < kSlotCount; ++i) {
      Tigrok& t = world.entities[i];
      if (IsLive(t)) continue;
      t = world.entities[last];
      t.hp = 100.0f;
      t.x += static_cast<float>(i % 20 * 30);
      t.y += static_cast<float>(i / 20 * 30);
      t.owner = i % kSideCount;
    }
  }

  for (int round = 0; round < kRounds; ++round) {
    World want = world;
    reference::AggressionPass(want);
    reference::ContactPass(want);
    // The frame step's combined passes over a set of maybe-live slots, and
    // the two passes as separate calls.
    if (round % 2 == 0) {
      PairPasses(world, round % 4 == 0 ? LiveSet(world) : AllSlots());
    } else {
      AggressionPass(world);
      ContactPass(world);
    }
    CheckSame(world, want, round);
    try {
      OrderPass(world, nullptr);
    } catch (const ConversionError&) {
      // The pass ended early at an order that does not convert.
    }
  }
  return 0;
}
