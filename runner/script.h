// Scenario scripts of the headless runner: one command per line, run on a
// session that starts in the game's start-up state.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

namespace kragmoor {

// Runs the script read from `in`, printing its output on `out`. Returns 0
// when the script runs to its end; on a script error prints
// "kragmoor-sim: line L: <what is wrong>" on `err` and returns 2 at once.
int RunScript(std::istream& in, std::ostream& out, std::ostream& err);

// The same with a bound on the frames the whole script may run, for callers
// that feed it arbitrary text and must finish quickly (the fuzzer): a `step`,
// `trace` or `resize` that would take the script past `maxFrames` frame steps
// in total runs none of them and is a script error ("the frame limit of N
// frames is reached"). kragmoor-sim itself sets no limit.
int RunScript(std::istream& in, std::ostream& out, std::ostream& err, int64_t maxFrames);

}  // namespace kragmoor
