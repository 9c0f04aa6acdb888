// Matches of a seed range for `kragmoor-sim match --seeds A-B`: one match
// per seed, on several threads, printed in seed order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string_view>

#include "game/match.h"

namespace kragmoor {

// The seeds from `first` to `last`, both included.
struct SeedRange {
  uint32_t first = 0;
  uint32_t last = 0;
  uint64_t Count() const { return uint64_t{last} - first + 1; }
};

// Reads "A-B": two decimal seeds, 0 to 4294967295, with A <= B. Returns
// false, leaving `range` as it was, for anything else.
bool ParseSeedRange(std::string_view text, SeedRange& range);

inline constexpr int kMaxJobs = 1024;  // matches at once; far above any machine's cores
// Finished matches' output that may wait for its turn before no more start:
// far above a few matches of the default length, far below what thousands
// of frames of --hash-every 1 on many cores would hold.
inline constexpr size_t kMaxHeldMatchBytes = size_t{16} << 20;

// The number of cores, as the default for RunMatches' `jobs` (1 when the
// system does not say).
int DefaultJobs();

// Plays one match per seed of `seeds`, with the other options as given, up
// to `jobs` (1 or more) at once on threads of their own. Prints on `out`,
// for each seed in ascending order, a line "seed S" and then exactly what
// RunMatch prints for it: the output is the same whatever `jobs` is, and
// comes as soon as the seeds before it are done. A match's output waits in
// memory until its turn; at most 4 * jobs matches are started ahead of the
// next one printed, and none while `maxHeldBytes` of finished output wait
// (so at most that and what the matches under way print, with --hash-every
// 1 too). Returns the most bytes of finished output that waited at once.
size_t RunMatches(const MatchOptions& options, SeedRange seeds, int jobs, std::ostream& out,
                  size_t maxHeldBytes = kMaxHeldMatchBytes);

}  // namespace kragmoor
