// The benchmarks' jammed table, loaded from the saved game beside this file.
#include "bench/jammed_table.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/print.h"
#include "game/saved_game.h"
#include "game/session.h"
#include "world/state_hash.h"

namespace kragmoor {

namespace {

// Written by `kragmoor-sim match --seed 3 --frames 230000 --save PATH`,
// whose last line says this hash.
constexpr const char* kJamSave = KRAGMOOR_BENCH_DIR "/jammed_seed3_230000.save";
constexpr uint64_t kJamHash = 0xb293406e95c51459;

}  // namespace

World JammedTable() {
  Session session;
  std::string error;
  if (!LoadSavedGame(kJamSave, session, error)) {
    std::fprintf(stderr, "kragmoor_bench: %s\n", error.c_str());
    std::exit(1);
  }
  const uint64_t hash = StateHash(session);
  if (hash != kJamHash) {
    std::fprintf(stderr, "warning: the jammed table's hash is %s, not %s\n",
                 FormatHash(hash).c_str(), FormatHash(kJamHash).c_str());
  }
  return session.world;
}

}  // namespace kragmoor
