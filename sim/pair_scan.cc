// The per-axis test of the pair passes, eight slots at a time.
//
// Why it is exact: Distance2D(a, b) rounds dx = a.x - b.x and dy = a.y - b.y
// to float and takes the root of dx² + dy² in double. If |dx| >= range, then
// dx² >= range² (both exact in double: a float squared fits in 48 bits), so
// the rounded sum is >= range² (rounding is monotonic and range² is a
// double) or NaN (when dy is NaN); its correctly rounded root is then
// >= range or NaN, and so is that root rounded to float, range being a
// float. If dx is NaN, the root is NaN. Either way "distance < range" is
// false, and so is SeparatePair's "50 > length", which takes the same root:
// the pair does nothing in either pass and may be skipped. The same holds
// for dy. So a pair is looked at only when |dx| < range and |dy| < range,
// dx being the very float Distance2D computes (x[k] - px is its negation,
// exactly, and |.| drops the sign).
#include "sim/pair_scan.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace kragmoor {

namespace {

// Four lanes of 32-bit floats or integers; GCC and Clang map them to SSE on
// x86-64 and to the matching registers elsewhere, with IEEE results per lane.
using Float4 = float __attribute__((vector_size(16)));
using Int4 = int32_t __attribute__((vector_size(16)));

Float4 Load(const float* p) {
  Float4 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

Int4 LoadInt(const int32_t* p) {
  Int4 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// |v| per lane: the sign bit cleared, exactly what fabs does.
Float4 Abs(Float4 v) {
  Int4 bits;
  std::memcpy(&bits, &v, sizeof bits);
  bits &= 0x7fffffff;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

// All bits set in the lanes of entries k to k + 3 whose pair with (px, py)
// passes the per-axis test. Written so that every operation can work in
// place on the loaded register.
Int4 Near(const LiveSlots& live, int k, Float4 px, Float4 py, Float4 range) {
  return (Abs(Load(&live.x[k]) - px) < range) & (Abs(Load(&live.y[k]) - py) < range);
}

bool Any(Int4 lanes) {
  uint64_t halves[2];
  std::memcpy(halves, &lanes, sizeof halves);
  return (halves[0] | halves[1]) != 0;
}

// Bit l set for each set lane l of `low`, bit 4 + l for lane l of `high`.
unsigned LaneBits(Int4 low, Int4 high) {
  const Int4 bits = (low & Int4{1, 2, 4, 8}) | (high & Int4{16, 32, 64, 128});
  return static_cast<unsigned>(bits[0] | bits[1] | bits[2] | bits[3]);
}

// Which entries besides the per-axis test a scan rules out.
enum class Partners {
  kAll,      // none
  kEnemies,  // those of a's own owner
  kActive,   // those of a's own owner that may not act (a itself may not)
};

// The first entry from `from` on that passes the per-axis test against entry
// a and is not ruled out as `partners` says.
template <Partners partners>
int NextFrom(const LiveSlots& live, int a, float range, int from) {
  const Float4 px{live.x[a], live.x[a], live.x[a], live.x[a]};
  const Float4 py{live.y[a], live.y[a], live.y[a], live.y[a]};
  const Float4 r{range, range, range, range};
  const Int4 own{live.owner[a], live.owner[a], live.owner[a], live.owner[a]};
  for (int k = from; k < live.count; k += kScanBlock) {
    Int4 low = Near(live, k, px, py, r);
    Int4 high = Near(live, k + 4, px, py, r);
    if (partners == Partners::kEnemies) {
      low &= LoadInt(&live.owner[k]) != own;
      high &= LoadInt(&live.owner[k + 4]) != own;
    } else if (partners == Partners::kActive) {
      low &= (LoadInt(&live.owner[k]) != own) | LoadInt(&live.acts[k]);
      high &= (LoadInt(&live.owner[k + 4]) != own) | LoadInt(&live.acts[k + 4]);
    }
    if (!Any(low | high)) continue;
    // The padding after count may pass the test: a hit there means none.
    return std::min(k + std::countr_zero(LaneBits(low, high)), live.count);
  }
  return live.count;
}

}  // namespace

void GatherLive(const World& world, const SlotSet& mayBeLive, LiveSlots& live) {
  int n = 0;
  for (int s = mayBeLive.Next(0); s < kSlotCount; s = mayBeLive.Next(s + 1)) {
    const Tigrok& t = world.entities[s];
    if (!IsLive(t)) continue;
    live.slot[n] = static_cast<int16_t>(s);
    live.x[n] = t.x;
    live.y[n] = t.y;
    live.owner[n] = t.owner;
    live.acts[n] = MayAct(t) ? -1 : 0;
    ++n;
  }
  live.count = n;
  for (int k = n; k < n + kScanBlock; ++k) {  // the tests read a whole block past the end
    live.x[k] = 0.0f;
    live.y[k] = 0.0f;
    live.owner[k] = 0;
    live.acts[k] = 0;
  }
}

int NextNear(const LiveSlots& live, int a, float range, int from) {
  return NextFrom<Partners::kAll>(live, a, range, from);
}

int NextEnemyNear(const LiveSlots& live, int a, float range, int from) {
  return NextFrom<Partners::kEnemies>(live, a, range, from);
}

int NextActiveNear(const LiveSlots& live, int a, float range, int from) {
  if (live.acts[a] != 0) return NextFrom<Partners::kAll>(live, a, range, from);
  return NextFrom<Partners::kActive>(live, a, range, from);
}

}  // namespace kragmoor
