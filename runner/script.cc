// The scenario-script reader and its commands.
#include "runner/script.h"

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <new>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "game/files.h"
#include "game/input.h"
#include "game/play.h"
#include "game/print.h"
#include "game/quote.h"
#include "game/saved_game.h"
#include "game/session.h"
#include "game/words.h"
#include "render/recording_gl.h"
#include "render/scene.h"
#include "runner/line_reader.h"
#include "sim/control.h"
#include "world/state_hash.h"

namespace kragmoor {

namespace {

// A failed `save`: the script's output could not be written (exit 1).
class SaveError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Context {
  Session& session;
  std::ostream& out;
  int64_t maxFrames;   // frame steps the whole script may run
  int64_t framesLeft;  // of those, not yet run
  bool files = true;   // save and load may touch files
};

// Counts `count` frame steps against the script's frame limit.
void TakeFrames(Context& c, int32_t count) {
  if (count > c.framesLeft) {
    throw ScriptError("the frame limit of " + std::to_string(c.maxFrames) + " frames is reached");
  }
  c.framesLeft -= count;
}

// Runs `count` frame steps, printing each frame's drawing calls when traced.
void RunFrames(Context& c, int32_t count, bool traced) {
  TakeFrames(c, count);
  RecordingGl recorder;
  for (int32_t i = 0; i < count; ++i) {
    if (!traced) {
      StepFrame(c.session, Front{}, c.out);
      continue;
    }
    // A frame ends at its error: every call it recorded came before the
    // error, so the calls go first and the error line after them.
    std::ostringstream error;
    StepFrame(c.session, Front{nullptr, &recorder, nullptr}, error);
    for (const std::string& line : recorder.lines()) c.out << line << '\n';
    c.out << error.str();
    recorder.clear();
  }
}

int32_t OptionalCount(const Words& w) { return w.size() == 2 ? ParseInt(w[1], 0) : 1; }

struct Command {
  size_t minWords;  // including the command itself
  size_t maxWords;
  std::function<void(Context&, const Words&)> run;
};

// The path of a `save` or `load`, when files may be touched.
std::string FilePath(const Context& c, const std::string& word) {
  if (!c.files) throw ScriptError("save and load touch no files here");
  return ParsePath(word);
}

const std::map<std::string, Command, std::less<>>& Commands() {
  static const std::map<std::string, Command, std::less<>> commands = {
      {"step", {1, 2, [](Context& c, const Words& w) { RunFrames(c, OptionalCount(w), false); }}},
      {"trace", {1, 2, [](Context& c, const Words& w) { RunFrames(c, OptionalCount(w), true); }}},
      {"save",
       {2, 2,
        [](Context& c, const Words& w) {
          const std::string path = FilePath(c, w[1]);
          std::string text;
          std::string error;
          if (!SavedGameText(c.session, text, error)) {
            throw ScriptError("cannot save " + Quoted(path) + " : " + error);
          }
          if (!WriteFileAtomically(path, text, error)) throw SaveError(error);
        }}},
      {"load",
       {2, 2,
        [](Context& c, const Words& w) {
          std::string error;
          if (!LoadSavedGame(FilePath(c, w[1]), c.session, error)) throw ScriptError(error);
        }}},
      {"print",
       {2, 2,
        [](Context& c, const Words& w) {
          const World& world = c.session.world;
          if (w[1] == "players") {
            for (int side = 0; side < kSideCount; ++side)
              c.out << FormatPlayer(world, side) << '\n';
          } else if (w[1] == "view") {
            c.out << FormatView(world) << '\n';
          } else if (w[1] == "live") {
            c.out << FormatLive(world) << '\n';
          } else {
            c.out << FormatSlot(world, ParseSlot(w[1])) << '\n';
          }
        }}},
      {"info",
       {1, 1,
        [](Context& c, const Words&) {
          for (const std::string& line : InfoLines(c.session.world))
            c.out << "info " << line << '\n';
        }}},
      {"hash",
       {1, 1,
        [](Context& c, const Words&) {
          c.out << "hash " << FormatHash(StateHash(c.session.world)) << '\n';
        }}},
  };
  return commands;
}

// An input of the game's input table; one that runs a frame counts it.
void RunInput(Context& c, const InputEntry& entry, const Words& words) {
  const Input input = ParseInput(entry, words);
  if (entry.runsFrame) TakeFrames(c, 1);
  std::string error;
  if (!Apply(c.session, input, Front{}, error)) c.out << "error: " << error << '\n';
}

void RunLine(Context& c, std::string_view line) {
  const auto first = line.find_first_not_of(" \t\r");
  if (first == std::string_view::npos || line[first] == '#') return;  // blank or comment
  const Words words = Split(line);
  const auto it = Commands().find(words[0]);
  if (it == Commands().end()) {
    const InputEntry* entry = FindInput(words[0]);
    if (entry == nullptr) throw ScriptError("unknown command " + Quoted(words[0]));
    RunInput(c, *entry, words);
    return;
  }
  const Command& command = it->second;
  if (words.size() < command.minWords || words.size() > command.maxWords) {
    throw ScriptError("wrong number of words for " + Quoted(words[0]));
  }
  command.run(c, words);
}

// A script's "#> " lines (and bare "#>", an empty line), and the output it
// printed, compared in order as both come.
class Expectations {
 public:
  // A line of the script, before it runs.
  void Read(long number, std::string_view line) {
    lastLine_ = number;
    if (line == "#>") expected_.push_back({number, ""});
    if (line.starts_with("#> ")) expected_.push_back({number, std::string(line.substr(3))});
  }

  // The output printed so far, in whole lines: false with `message` at the
  // first line that differs from the expected one.
  bool Compare(std::string_view output, std::string& message) {
    for (auto end = output.find('\n'); end != std::string_view::npos; end = output.find('\n')) {
      printed_.emplace_back(output.substr(0, end));
      output.remove_prefix(end + 1);
    }
    for (; !expected_.empty() && !printed_.empty(); expected_.pop_front(), printed_.pop_front()) {
      if (expected_.front().text != printed_.front()) {
        message = Difference(expected_.front().number, expected_.front().text, printed_.front());
        return false;
      }
    }
    return true;
  }

  // At the end of the script: false when output is missing or left over.
  bool Finish(std::string& message) const {
    if (!expected_.empty()) message = Difference(lastLine_, expected_.front().text, "");
    if (!printed_.empty()) message = Difference(lastLine_, "", printed_.front());
    return expected_.empty() && printed_.empty();
  }

 private:
  struct Line {
    long number;
    std::string text;
  };
  // Long enough for any line the game prints but a trace of a huge float.
  static constexpr size_t kShownChars = 200;

  static std::string Difference(long number, std::string_view expected, std::string_view got) {
    return "line " + std::to_string(number) + ": expected " + Quoted(expected, kShownChars) +
           ", got " + Quoted(got, kShownChars);
  }

  std::deque<Line> expected_;
  std::deque<std::string> printed_;
  long lastLine_ = 0;
};

// Runs the lines of `in` on `session`. With `expectations`, the output goes
// to them instead of `out` (check); the result is then 1 at the first
// difference. Otherwise as RunScript.
int RunLines(std::istream& in, std::ostream& out, std::ostream& err, const ScriptOptions& options,
             Expectations* expectations) {
  Session session;
  std::ostringstream captured;
  Context context{session, expectations != nullptr ? captured : out, options.maxFrames,
                  options.maxFrames, options.files};
  const auto fail = [&out, &err](const std::string& message, int code) {
    out.flush();
    err << "kragmoor-sim: " << message << '\n';
    return code;
  };
  // A stream that failed to open reads as empty: that is no empty script.
  if (!in || in.rdbuf() == nullptr) return fail("cannot read " + options.inputName, 2);
  std::string line;
  for (long number = 1;; ++number) {
    const auto failAt = [&fail, number](const std::string& message, int code) {
      return fail("line " + std::to_string(number) + ": " + message, code);
    };
    LineRead read = LineRead::kEnd;
    try {
      read = ReadLine(*in.rdbuf(), line);
    } catch (const std::system_error& error) {
      return fail("cannot read " + options.inputName + " : " + error.code().message(), 2);
    } catch (const std::bad_alloc&) {
      return failAt("out of memory", 2);
    }
    if (read == LineRead::kEnd) break;
    try {
      if (read == LineRead::kTooLong) {
        throw ScriptError("the line is longer than " + std::to_string(kMaxLineBytes) + " bytes");
      }
      if (expectations != nullptr) expectations->Read(number, line);
      RunLine(context, line);
    } catch (const ScriptError& error) {
      return failAt(error.what(), 2);
    } catch (const SaveError& error) {
      return failAt(error.what(), 1);
    } catch (const std::bad_alloc&) {
      return failAt("out of memory", 2);
    }
    if (expectations != nullptr) {
      std::string message;
      const bool same = expectations->Compare(captured.view(), message);
      captured.str("");
      if (!same) return fail(message, 1);
    }
  }
  std::string message;
  if (expectations != nullptr && !expectations->Finish(message)) return fail(message, 1);
  return 0;
}

}  // namespace

int RunScript(std::istream& in, std::ostream& out, std::ostream& err,
              const ScriptOptions& options) {
  return RunLines(in, out, err, options, nullptr);
}

int CheckScript(std::istream& in, std::ostream& err, const ScriptOptions& options) {
  Expectations expectations;
  std::ostringstream unused;
  return RunLines(in, unused, err, options, &expectations);
}

int RunScript(std::istream& in, std::ostream& out, std::ostream& err) {
  return RunScript(in, out, err, ScriptOptions{});
}

int RunScript(std::istream& in, std::ostream& out, std::ostream& err, int64_t maxFrames) {
  ScriptOptions options;
  options.maxFrames = maxFrames;
  return RunScript(in, out, err, options);
}

}  // namespace kragmoor
