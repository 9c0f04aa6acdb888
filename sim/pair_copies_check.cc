// The pair visitor's debug checks: whether its copies still match the table,
// and messages that say which copy broke and where to look for the cause.
#include <bit>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "sim/pair_scan.h"

namespace kragmoor {

namespace {

// Bit patterns, so that NaN copies compare equal to themselves.
bool Same(float a, float b) { return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b); }

std::string Number(float v) { return std::to_string(v); }

// What differs between entry k's copies and its slot, or an empty text.
std::string EntryMisfit(const World& world, const LiveSlots& live, int k, bool withPosition) {
  const int s = live.slot[k];
  const Tigrok& t = world.entities[s];
  const std::string where = "entry " + std::to_string(k) + " (slot " + std::to_string(s) + "): ";
  if (live.owner[k] != t.owner) {
    return where + "owner " + std::to_string(live.owner[k]) + " copied, " +
           std::to_string(t.owner) + " in the table";
  }
  if (!withPosition) return {};
  if (!Same(live.x[k], t.x) || !Same(live.y[k], t.y)) {
    return where + "position (" + Number(live.x[k]) + ", " + Number(live.y[k]) + ") copied, (" +
           Number(t.x) + ", " + Number(t.y) + ") in the table";
  }
  const bool acts = live.actsOf != nullptr && live.actsOf(t);
  if ((live.acts[k] != 0) != acts) {
    return where + "acts " + std::to_string(live.acts[k] != 0) + " copied, " +
           std::to_string(acts) + " by its mayAct now";
  }
  return {};
}

[[noreturn]] void Fail(const std::string& what, const char* cause) {
  std::fprintf(stderr, "pair visitor: %s.\n  %s\n", what.c_str(), cause);
  std::abort();
}

}  // namespace

std::string CopiesMisfit(const World& world, const LiveSlots& live) {
  int k = 0;
  for (int s = 0; s < kSlotCount; ++s) {
    if (!IsLive(world.entities[s])) continue;
    if (k >= live.count || live.slot[k] != s) {
      return "slot " + std::to_string(s) + " is live but not copied as entry " + std::to_string(k) +
             ": it became live after the copies were gathered";
    }
    const std::string misfit = EntryMisfit(world, live, k, true);
    if (!misfit.empty()) return misfit;
    ++k;
  }
  if (k != live.count) {
    return std::to_string(live.count - k) + " copied entries are no longer live";
  }
  return {};
}

namespace pair_scan_detail {

void CheckPairCopies(const World& world, const LiveSlots& live, int a, int b, bool changed) {
  // A reported change is copied afresh, except the owner, which no rule may
  // change; an unreported one must have left the copies exact.
  for (const int k : {a, b}) {
    const std::string misfit = EntryMisfit(world, live, k, !changed);
    if (misfit.empty()) continue;
    Fail("after the rule for slots " + std::to_string(live.slot[a]) + " and " +
             std::to_string(live.slot[b]) + ", " + misfit,
         changed ? "A rule must never change an owner."
                 : "The rule changed a position or what its reach's mayAct says without "
                   "reporting it: make it return true for such a pair.");
  }
}

void CheckActs(const LiveSlots& live, bool (*mayAct)(const Tigrok&)) {
  if (mayAct == nullptr || live.actsOf == mayAct) return;
  Fail("the copies' acts were filled for another rule",
       "Gather them with the mayAct of the rule's reach before visiting its pairs.");
}

}  // namespace pair_scan_detail

}  // namespace kragmoor
