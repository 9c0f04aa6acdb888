// The scenario-script reader and its commands.
#include "runner/script.h"

#include <array>
#include <functional>
#include <map>
#include <new>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "game/input.h"
#include "game/line_reader.h"
#include "game/platform/files.h"
#include "game/play.h"
#include "game/print.h"
#include "game/quote.h"
#include "game/saved_game.h"
#include "game/session.h"
#include "game/words.h"
#include "render/recording_gl.h"
#include "render/scene.h"
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
  std::string files;   // the folder save and load may touch (--files); empty: none
  const std::function<void(int64_t)>* onFrame = nullptr;  // after every frame step
};

// After each frame step: the caller's hook, with the frames run so far.
void FrameDone(Context& c) {
  if (c.onFrame != nullptr && *c.onFrame) (*c.onFrame)(c.maxFrames - c.framesLeft);
}

// Counts `count` frame steps against the script's frame limit.
void TakeFrames(Context& c, int32_t count) {
  if (count > c.framesLeft) {
    throw ScriptError("the frame limit of " + std::to_string(c.maxFrames) + " frames is reached");
  }
  c.framesLeft -= count;
}

// Runs `count` frame steps, printing each frame's drawing calls when traced.
void StepFrames(Context& c, int32_t count, bool traced) {
  TakeFrames(c, count);
  c.framesLeft += count;  // taken again frame by frame, so the hook sees each
  RecordingGl recorder;
  for (int32_t i = 0; i < count; ++i) {
    --c.framesLeft;
    if (!traced) {
      StepFrame(c.session, Front{}, c.out);
      FrameDone(c);
      continue;
    }
    // A frame ends at its error: every call it recorded came before the
    // error, so the calls go first and the error line after them.
    std::ostringstream error;
    StepFrame(c.session, Front{nullptr, &recorder, nullptr}, error);
    for (const std::string& line : recorder.lines()) c.out << line << '\n';
    c.out << error.str();
    recorder.clear();
    FrameDone(c);
  }
}

int32_t OptionalCount(const Words& w) { return w.size() == 2 ? ParseInt(w[1], 0) : 1; }

struct Command {
  size_t minWords;  // including the command itself
  size_t maxWords;
  std::function<void(Context&, const Words&)> run;
};

// The file of a `save` or `load`, when the rule for script files allows it:
// its folder stays open, and the file is reached only through it.
void OpenFile(const Context& c, const std::string& word, ScriptFile& file) {
  std::string error;
  if (!OpenScriptFile(c.files, ParsePath(word), file, error)) throw ScriptError(error);
}

const std::map<std::string, Command, std::less<>>& Commands() {
  static const std::map<std::string, Command, std::less<>> commands = {
      {"step", {1, 2, [](Context& c, const Words& w) { StepFrames(c, OptionalCount(w), false); }}},
      {"trace", {1, 2, [](Context& c, const Words& w) { StepFrames(c, OptionalCount(w), true); }}},
      {"save",
       {2, 2,
        [](Context& c, const Words& w) {
          ScriptFile file;
          OpenFile(c, w[1], file);
          std::string text;
          std::string error;
          if (!SavedGameText(c.session, text, error)) {
            throw ScriptError("cannot save " + QuotedPath(file.path) + " : " + error);
          }
          if (!WriteFileAtomicallyAt(file.folder, file.name, file.path, text, kSaveFormat, error)) {
            throw SaveError(error);
          }
        }}},
      {"load",
       {2, 2,
        [](Context& c, const Words& w) {
          ScriptFile file;
          OpenFile(c, w[1], file);
          std::string text;
          std::string error;
          if (!ReadSmallFileAt(file.folder, file.name, kMaxSavedGameBytes, text, error) ||
              !LoadSavedGameText(text, c.session, error)) {
            throw ScriptError("cannot load " + QuotedPath(file.path) + " : " + error);
          }
        }}},
      {"print",
       {2, 2,
        [](Context& c, const Words& w) {
          const World& world = c.session.world;
          if (w[1] == "players") {
            for (int side = 0; side < kSideCount; ++side)
              c.out << FormatPlayer(world, side) << '\n';
          } else if (w[1] == "view") {
            c.out << FormatView(c.session.player.view) << '\n';
          } else if (w[1] == "live") {
            c.out << FormatLive(world) << '\n';
          } else {
            c.out << FormatSlot(world, ParseSlot(w[1])) << '\n';
          }
        }}},
      {"info",
       {1, 1,
        [](Context& c, const Words&) {
          for (const std::string& line : InfoLines(c.session.world, c.session.player.view))
            c.out << "info " << line << '\n';
        }}},
      {"hash",
       {1, 1,
        [](Context& c, const Words&) {
          c.out << "hash " << FormatHash(StateHash(c.session)) << '\n';
        }}},
  };
  return commands;
}

// An input of the game's input table; one that runs a frame counts it.
void RunInput(Context& c, const InputEntry& entry, const Words& words) {
  const Input input = ParseInput(entry, words);
  if (entry.runsFrame) TakeFrames(c, 1);
  std::string error;
  if (!ApplyWithFrame(c.session, input, Front{}, error)) c.out << "error: " << error << '\n';
  if (entry.runsFrame) FrameDone(c);
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

// Runs the lines of `in` on a session of its own, each seen first by
// `watcher` when there is one (check). As RunScript otherwise.
int RunLines(std::istream& in, std::ostream& out, std::ostream& err, const ScriptOptions& options,
             ScriptWatcher* watcher) {
  Session session;
  Context context{session,           out,           options.maxFrames,
                  options.maxFrames, options.files, &options.onFrame};
  const auto fail = [&out, &err](const std::string& message, int code) {
    try {
      out.flush();
    } catch (const ScriptStop&) {              // the message already says how the script ends
    } catch (const std::ios_base::failure&) {  // a stream broken by one of those
    }
    if (!message.empty()) err << "kragmoor-sim: " << message << '\n';
    return code;
  };
  // A stream that failed to open reads as empty: that is no empty script.
  if (!in || in.rdbuf() == nullptr) return fail("cannot read " + options.inputName, 2);
  std::string line;
  long number = 1;
  for (;; ++number) {
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
      if (watcher == nullptr || watcher->Line(number, line, read != LineRead::kUnended)) {
        RunLine(context, line);
      }
    } catch (const ScriptError& error) {
      return failAt(error.what(), 2);
    } catch (const SaveError& error) {
      return failAt(error.what(), 1);
    } catch (const ScriptStop& stop) {
      return fail(stop.what(), stop.code);
    } catch (const std::bad_alloc&) {
      return failAt("out of memory", 2);
    }
  }
  if (watcher == nullptr) return 0;
  std::string message;
  try {
    out.flush();
    const int code = watcher->End(number - 1, message);
    return fail(message, code);
  } catch (const ScriptStop& stop) {
    return fail(stop.what(), stop.code);
  }
}

}  // namespace

int RunScript(std::istream& in, std::ostream& out, std::ostream& err,
              const ScriptOptions& options) {
  return RunLines(in, out, err, options, nullptr);
}

int RunWatched(std::istream& in, std::ostream& out, std::ostream& err, const ScriptOptions& options,
               ScriptWatcher& watcher) {
  return RunLines(in, out, err, options, &watcher);
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
