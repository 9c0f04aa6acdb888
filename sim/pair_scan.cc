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

// Entry a's position and owner, in every lane.
struct Probe {
  Probe(const LiveSlots& live, int a, float range)
      : px{live.x[a], live.x[a], live.x[a], live.x[a]},
        py{live.y[a], live.y[a], live.y[a], live.y[a]},
        r{range, range, range, range},
        own{live.owner[a], live.owner[a], live.owner[a], live.owner[a]} {}
  Float4 px, py, r;
  Int4 own;
};

// The lanes of entries k to k + 7 that pass the per-axis test against the
// probe and are not ruled out as `partners` says, entries from live.count on
// (the padding block) left out. Always inlined: it is the scan loop's body.
template <Partners partners>
[[gnu::always_inline]] inline unsigned Lanes(const LiveSlots& live, const Probe& p, int k) {
  Int4 low = Near(live, k, p.px, p.py, p.r);
  Int4 high = Near(live, k + 4, p.px, p.py, p.r);
  if (partners == Partners::kEnemies) {
    low &= LoadInt(&live.owner[k]) != p.own;
    high &= LoadInt(&live.owner[k + 4]) != p.own;
  } else if (partners == Partners::kActive) {
    low &= (LoadInt(&live.owner[k]) != p.own) | LoadInt(&live.acts[k]);
    high &= (LoadInt(&live.owner[k + 4]) != p.own) | LoadInt(&live.acts[k + 4]);
  }
  if (!Any(low | high)) return 0;
  const unsigned lanes = LaneBits(low, high);
  const int inside = live.count - k;
  return inside >= kScanBlock ? lanes : lanes & ((1u << inside) - 1);
}

// The first block from `from` on with a lane set, as Lanes finds it.
template <Partners partners>
[[gnu::always_inline]] inline NearBlock NextFrom(const LiveSlots& live, int a, float range,
                                                 int from) {
  const Probe p(live, a, range);
  for (int k = from; k < live.count; k += kScanBlock) {
    const unsigned lanes = Lanes<partners>(live, p, k);
    if (lanes != 0) return {k, lanes};
  }
  return {live.count, 0};
}

}  // namespace

NearBlock NextEnemyNearBlock(const LiveSlots& live, int a, float range, int from) {
  return NextFrom<Partners::kEnemies>(live, a, range, from);
}

NearBlock NextActiveNearBlock(const LiveSlots& live, int a, float range, int from) {
  if (live.acts[a] != 0) return NextFrom<Partners::kAll>(live, a, range, from);
  return NextFrom<Partners::kActive>(live, a, range, from);
}

unsigned EnemyNearLanes(const LiveSlots& live, int a, float range, int base) {
  return Lanes<Partners::kEnemies>(live, Probe(live, a, range), base);
}

unsigned ActiveNearLanes(const LiveSlots& live, int a, float range, int base) {
  const Probe p(live, a, range);
  if (live.acts[a] != 0) return Lanes<Partners::kAll>(live, p, base);
  return Lanes<Partners::kActive>(live, p, base);
}

}  // namespace kragmoor
