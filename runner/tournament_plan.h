// A tournament spread over machines: its plan, one `arena` command line per
// match, and the reading back of those commands' collected outputs, so the
// tournament ranks them as if it had played them itself.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "runner/arena.h"
#include "runner/standings.h"

namespace kragmoor {

// One match of a tournament: its seed and the entrant of each side.
struct PlannedMatch {
  uint32_t seed = 0;
  std::array<int, kSideCount> seating{};
};

// The most bytes the results files may hold together, and one line of them.
inline constexpr size_t kMaxResultsBytes = size_t{1} << 30;
inline constexpr size_t kMaxResultsLineBytes = 64 * 1024;

// The tag of match `index` (from 0) of `plan`: "match=G,of=T,seed=S,sides=A,B,C",
// G counted from 1, the sides the entrants' names.
std::string PlanTag(const std::vector<PlannedMatch>& plan, size_t index,
                    const std::vector<Entrant>& entrants);

// One line per match: a shell command running `kragmoor-sim arena` with the
// tournament's options, the match's seed and tag, and its sides quoted for
// /bin/sh.
void PrintPlan(const std::vector<PlannedMatch>& plan, const std::vector<Entrant>& entrants,
               const ArenaOptions& options, std::ostream& out);

// Reads the outputs of the plan's commands, in any order and in any number
// of files, into results[g] for match g (empty: no output for it). False,
// with the reason (file and line), for output that is not the arena's, a tag
// of another plan, or a match given twice.
bool ReadResults(const std::vector<std::string>& paths, const std::vector<PlannedMatch>& plan,
                 const std::vector<Entrant>& entrants,
                 std::vector<std::optional<ArenaResult>>& results, std::string& error);

}  // namespace kragmoor
