// Scenario scripts of the headless runner: one command per line, run on a
// session that starts in the game's start-up state.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <ostream>
#include <stdexcept>
#include <streambuf>
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
  // The folder inside which `save` and `load` may touch files (--files
  // DIR; see ScriptFilePath). Empty, the default: they are script errors,
  // so that a script from anyone (a recording sent as a bug report) touches
  // no file of whoever runs it.
  std::string files;
  // Called after every frame step with the frames run so far; may throw
  // ScriptStop to end the script at once (kragmoor-sim's Ctrl+C).
  std::function<void(int64_t framesRun)> onFrame;
};

// Thrown to end a script at once with exit status `code` and one line
// `message` (without "kragmoor-sim: "): check's first difference, a cut
// recording, an interrupt.
class ScriptStop : public std::runtime_error {
 public:
  ScriptStop(int code, const std::string& message) : std::runtime_error(message), code(code) {}
  int code;
};

// What check adds to a run (runner/check.cc): it sees every line before it
// runs, and gives the exit status at the end. Any of its calls may throw
// ScriptStop.
class ScriptWatcher {
 public:
  virtual ~ScriptWatcher() = default;
  // Line `number` before it runs; `ended` is false for a last line with no
  // line end after it. Returns false when the line is not to run.
  virtual bool Line(long number, std::string_view line, bool ended) = 0;
  // The script ran to its end, `lastLine` its number of lines: the exit
  // status, with its message (empty for none).
  virtual int End(long lastLine, std::string& message) = 0;
};

// RunScript with `watcher` seeing every line (check).
int RunWatched(std::istream& in, std::ostream& out, std::ostream& err, const ScriptOptions& options,
               ScriptWatcher& watcher);

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
// missing or left over); 2 on a script error, as RunScript. A script with
// no "#> " line verifies nothing: 1, saying so. A recording (first line
// kRecordingHeader) that ends without its closing "hash" and "#> hash"
// lines, or in the middle of a line, is cut short: what it holds is
// verified, a last line without its line end is neither run nor compared,
// and the result is 3 with one line saying so.
//
// `ahead`, when given, reads the same script from its start independently
// of `in` (a second reader of the same file): the expected lines are then
// read from it as the output comes, so output is compared line by line and
// never held. Without it, output waits in memory for its "#> " lines (at
// most kMaxWaitingOutput bytes; more is a script error).
int CheckScript(std::istream& in, std::ostream& err, const ScriptOptions& options,
                std::streambuf* ahead = nullptr);

// Bytes of output that check holds while it waits for their "#> " lines,
// when it has no second reader.
inline constexpr size_t kMaxWaitingOutput = size_t{64} << 20;

// The same with the default options.
int RunScript(std::istream& in, std::ostream& out, std::ostream& err);

// The same with a frame limit (ScriptOptions::maxFrames).
int RunScript(std::istream& in, std::ostream& out, std::ostream& err, int64_t maxFrames);

}  // namespace kragmoor
