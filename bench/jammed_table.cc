// The benchmarks' jammed table, played to frame by frame.
#include "bench/jammed_table.h"

#include <cstdint>
#include <cstdio>
#include <sstream>

#include "runner/print.h"
#include "runner/session.h"
#include "world/state_hash.h"

namespace kragmoor {

namespace {

constexpr uint32_t kJamSeed = 3;
constexpr int32_t kJamFrame = 230000;
constexpr uint64_t kJamHash = 0xb293406e95c51459;  // match --seed 3 --frames 230000

}  // namespace

World JammedTable() {
  Session session;
  session.world.seed = kJamSeed;
  std::ostringstream errors;  // the match has none; a changed rule might
  for (int32_t frame = 1; frame <= kJamFrame; ++frame) StepFrame(session, nullptr, errors);
  const uint64_t hash = StateHash(session.world);
  if (hash != kJamHash) {
    std::fprintf(stderr, "warning: the jammed table's hash is %s, not %s: the rules changed\n",
                 FormatHash(hash).c_str(), FormatHash(kJamHash).c_str());
  }
  return session.world;
}

}  // namespace kragmoor
