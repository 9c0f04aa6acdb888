// Scenario scripts of the headless runner: one command per line, run on a
// session that starts in the game's start-up state.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>

namespace kragmoor {

// The longest text value (`order`, `nextOrder`), in bytes between its quotes.
inline constexpr size_t kMaxTextBytes = size_t{1} << 16;

struct ScriptOptions {
  // How a read error names the input: "standard input", "'path'".
  std::string inputName = "the script";
  // A bound on the frames the whole script may run, for callers that feed it
  // arbitrary text and must finish quickly (the fuzzer): a `step`, `trace` or
  // `resize` that would take the script past `maxFrames` frame steps in total
  // runs none of them and is a script error ("the frame limit of N frames is
  // reached"). kragmoor-sim itself sets no limit.
  int64_t maxFrames = INT64_MAX;
};

// Runs the script read from `in`, printing its output on `out`. Returns 0
// when the script runs to its end. A script error prints "kragmoor-sim: line
// L: <what is wrong>" on `err` and returns 2 at once; so does a line longer
// than kMaxLineBytes. A failed read of `in` prints "kragmoor-sim: cannot read
// <inputName> : <reason>" and returns 2: what ran before it stays done. A
// failed write of `out` passes through as the exception that `out` throws.
int RunScript(std::istream& in, std::ostream& out, std::ostream& err, const ScriptOptions& options);

// The same with the default options.
int RunScript(std::istream& in, std::ostream& out, std::ostream& err);

// The same with a frame limit (ScriptOptions::maxFrames).
int RunScript(std::istream& in, std::ostream& out, std::ostream& err, int64_t maxFrames);

}  // namespace kragmoor
