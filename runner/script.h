// Scenario scripts of the headless runner: one command per line, run on a
// session that starts in the game's start-up state.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace kragmoor {

struct Session;

struct ScriptOptions {
  // How a read error names the input: "standard input", "'path'".
  std::string inputName = "the script";
  // A bound on the frames the whole script may run, for callers that feed it
  // arbitrary text and must finish quickly (the fuzzer): a `step`, `trace` or
  // `resize` that would take the script past `maxFrames` frame steps in total
  // runs none of them and is a script error ("the frame limit of N frames is
  // reached"). kragmoor-sim itself sets no limit.
  int64_t maxFrames = INT64_MAX;
  // Whether `save` and `load` may touch files. A caller that runs arbitrary
  // text (the fuzzer) turns it off: they are then script errors.
  bool files = true;
};

// Runs the script read from `in`, printing its output on `out`. Returns 0
// when the script runs to its end. A script error prints "kragmoor-sim: line
// L: <what is wrong>" on `err` and returns 2 at once; so does a line longer
// than kMaxLineBytes. A failed read of `in` prints "kragmoor-sim: cannot read
// <inputName> : <reason>" and returns 2: what ran before it stays done. A
// failed write of `out` passes through as the exception that `out` throws;
// a `save` that cannot be written prints "kragmoor-sim: line L: cannot write
// '<path>' : <reason>" and returns 1.
int RunScript(std::istream& in, std::ostream& out, std::ostream& err, const ScriptOptions& options);

// kragmoor-sim check: runs the script as RunScript does, but compares what
// it prints, line by line, with the text after "#> " on its "#> " lines (a
// bare "#>" is an empty line). Returns 0 when they are equal; 1 at the first
// difference, printing "kragmoor-sim: line L: expected '<e>', got '<g>'" on
// `err` (L is the "#> " line, or the script's last line when output is
// missing or left over); 2 on a script error, as RunScript.
int CheckScript(std::istream& in, std::ostream& err, const ScriptOptions& options);

// The same with the default options.
int RunScript(std::istream& in, std::ostream& out, std::ostream& err);

// The same with a frame limit (ScriptOptions::maxFrames).
int RunScript(std::istream& in, std::ostream& out, std::ostream& err, int64_t maxFrames);

}  // namespace kragmoor
