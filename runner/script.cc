// The scenario-script reader and its commands.
#include "runner/script.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <map>
#include <new>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "render/recording_gl.h"
#include "render/scene.h"
#include "runner/line_reader.h"
#include "runner/print.h"
#include "runner/quote.h"
#include "runner/session.h"
#include "sim/control.h"
#include "world/float_text.h"
#include "world/state_hash.h"

namespace kragmoor {

namespace {

// A script error: its message, without the line number.
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using Words = std::vector<std::string>;

// Splits a line at spaces; a double quote starts a text that runs to the next
// double quote, spaces included, and stays part of its word with its quotes.
Words Split(std::string_view line) {
  Words words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (char c : line) {
    if (quoted) {
      word += c;
      if (c == '"') quoted = false;
    } else if (c == ' ' || c == '\t' || c == '\r') {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
      if (c == '"') quoted = true;
    }
  }
  if (quoted) throw ScriptError("a text has no closing double quote");
  if (inWord) words.push_back(word);
  return words;
}

// An integer in decimal within low to high. Out of range is told apart from
// not a number, so the message can give the range.
int64_t ParseInteger(std::string_view text, int64_t low, int64_t high) {
  int64_t value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  const bool whole = !text.empty() && result.ptr == text.data() + text.size();
  if (!whole || (result.ec != std::errc() && result.ec != std::errc::result_out_of_range)) {
    throw ScriptError(Quoted(text) + " is not a valid number");
  }
  if (result.ec == std::errc::result_out_of_range || value < low || value > high) {
    throw ScriptError(Quoted(text) + " is out of range " + std::to_string(low) + " to " +
                      std::to_string(high));
  }
  return value;
}

int32_t ParseInt(std::string_view text, int32_t low = INT32_MIN, int32_t high = INT32_MAX) {
  return static_cast<int32_t>(ParseInteger(text, low, high));
}

uint32_t ParseUnsigned(std::string_view text) {
  return static_cast<uint32_t>(ParseInteger(text, 0, UINT32_MAX));
}

float ParseFloat(std::string_view text) {
  float value = 0.0f;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  const bool whole = !text.empty() && result.ptr == text.data() + text.size();
  if (!whole || (result.ec != std::errc() && result.ec != std::errc::result_out_of_range)) {
    throw ScriptError(Quoted(text) + " is not a valid float");
  }
  if (result.ec == std::errc::result_out_of_range) {
    // Too large, or nearer 0 than the smallest float: strtod (the "C" locale
    // reads the same decimal forms) says which.
    const double wide = std::strtod(std::string(text).c_str(), nullptr);
    constexpr float kMax = std::numeric_limits<float>::max();
    if (std::fabs(wide) > 1.0) {
      throw ScriptError(Quoted(text) + " is out of range " + FormatFloat(-kMax) + " to " +
                        FormatFloat(kMax));
    }
    throw ScriptError(Quoted(text) + " is out of range: the 32-bit float nearest 0 is " +
                      FormatFloat(std::numeric_limits<float>::denorm_min()));
  }
  return value;
}

std::string ParseText(std::string_view text) {
  if (text.size() < 2 || text.front() != '"' || text.back() != '"') {
    throw ScriptError(Quoted(text) + " is not a text in double quotes");
  }
  const std::string_view inside = text.substr(1, text.size() - 2);
  if (inside.find('"') != std::string_view::npos) {
    throw ScriptError(Quoted(text) + " is not one text: a text cannot hold a double quote");
  }
  if (inside.size() > kMaxTextBytes) {
    throw ScriptError("a text of " + std::to_string(inside.size()) +
                      " bytes is longer than the limit of " + std::to_string(kMaxTextBytes) +
                      " bytes");
  }
  return std::string(inside);
}

int ParseSlot(std::string_view text) { return ParseInt(text, 0, kSlotCount - 1); }

void SetField(Tigrok& t, std::string_view field, std::string_view value) {
  if (field == "x") {
    t.x = ParseFloat(value);
  } else if (field == "y") {
    t.y = ParseFloat(value);
  } else if (field == "hp") {
    t.hp = ParseFloat(value);
  } else if (field == "maxHp") {
    t.maxHp = ParseFloat(value);
  } else if (field == "order") {
    t.order = ParseText(value);
  } else if (field == "nextOrder") {
    t.nextOrder = ParseText(value);
  } else if (field == "progress") {
    t.progress = ParseInt(value);
  } else if (field == "plan") {
    t.plan = ParseInt(value);
  } else if (field == "owner") {
    t.owner = ParseInt(value);
  } else if (field == "kind") {
    t.kind = ParseInt(value);
  } else if (field == "gold") {
    t.gold = ParseInt(value);
  } else {
    throw ScriptError("unknown field " + Quoted(field));
  }
}

struct Context {
  Session& session;
  std::ostream& out;
  int64_t maxFrames;   // frame steps the whole script may run
  int64_t framesLeft;  // of those, not yet run
};

// Runs `count` frame steps, printing each frame's drawing calls when traced.
void RunFrames(Context& c, int32_t count, bool traced) {
  if (count > c.framesLeft) {
    throw ScriptError("the frame limit of " + std::to_string(c.maxFrames) + " frames is reached");
  }
  c.framesLeft -= count;
  RecordingGl recorder;
  for (int32_t i = 0; i < count; ++i) {
    if (!traced) {
      StepFrame(c.session, nullptr, c.out);
      continue;
    }
    // A frame ends at its error: every call it recorded came before the
    // error, so the calls go first and the error line after them.
    std::ostringstream error;
    StepFrame(c.session, &recorder, error);
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

const std::map<std::string, Command, std::less<>>& Commands() {
  static const std::map<std::string, Command, std::less<>> commands = {
      {"seed",
       {2, 2, [](Context& c, const Words& w) { c.session.world.seed = ParseUnsigned(w[1]); }}},
      {"reset",
       {1, 1,
        [](Context& c, const Words&) {
          World& world = c.session.world;
          for (Tigrok& t : world.entities) t = Tigrok{};
          for (Player& p : world.players) p.gold = 0;
          world.view = ViewState{};
        }}},
      {"scenario", {1, 1, [](Context& c, const Words&) { SetUpScenario(c.session.world); }}},
      {"set",
       {3, SIZE_MAX,
        [](Context& c, const Words& w) {
          Tigrok& t = c.session.world.entities[ParseSlot(w[1])];
          for (size_t i = 2; i < w.size(); ++i) {
            const auto eq = w[i].find('=');
            if (eq == std::string::npos) {
              throw ScriptError(Quoted(w[i]) + " is not FIELD=VALUE");
            }
            SetField(t, std::string_view(w[i]).substr(0, eq),
                     std::string_view(w[i]).substr(eq + 1));
          }
        }}},
      {"gold",
       {3, 3,
        [](Context& c, const Words& w) {
          c.session.world.players[ParseInt(w[1], 0, kSideCount - 1)].gold = ParseInt(w[2]);
        }}},
      {"ai",
       {4, 4,
        [](Context& c, const Words& w) {
          for (int side = 0; side < kSideCount; ++side) {
            c.session.inputs.computerPlayer[side] = ParseInt(w[side + 1], 0, 1) == 1;
          }
        }}},
      {"panel",
       {3, 3,
        [](Context& c, const Words& w) {
          c.session.inputs.panelWidth = ParseInt(w[1], 0);
          c.session.inputs.panelHeight = ParseInt(w[2], 0);
        }}},
      {"resize",
       {3, 3,
        [](Context& c, const Words& w) {
          c.session.inputs.panelWidth = ParseInt(w[1], 0);
          c.session.inputs.panelHeight = ParseInt(w[2], 0);
          RunFrames(c, 1, false);
        }}},
      {"mouse",
       {3, 3,
        [](Context& c, const Words& w) {
          c.session.world.view.mouseX = ParseInt(w[1]);
          c.session.world.view.mouseY = ParseInt(w[2]);
        }}},
      {"move",
       {3, 3,
        [](Context& c, const Words& w) {
          Panel3Cursor(c.session.world, ParseInt(w[1]), ParseInt(w[2]),
                       c.session.inputs.panelHeight);
        }}},
      {"camera",
       {3, 3,
        [](Context& c, const Words& w) {
          c.session.world.view.cameraX = ParseFloat(w[1]);
          c.session.world.view.cameraY = ParseFloat(w[2]);
        }}},
      {"mode", {2, 2, [](Context& c, const Words& w) { c.session.clickMode = ParseInt(w[1]); }}},
      {"build", {2, 2, [](Context& c, const Words& w) { c.session.buildItem = ParseInt(w[1]); }}},
      {"select",
       {2, 2,
        [](Context& c, const Words& w) {
          c.session.world.view.selected = ParseInt(w[1], -1, kSlotCount - 1);
        }}},
      {"click",
       {1, 1,
        [](Context& c, const Words&) {
          Panel3Click(c.session.world, c.session.clickMode, c.session.buildItem);
        }}},
      {"tick",
       {2, 2, [](Context& c, const Words& w) { c.session.ticks.value = ParseUnsigned(w[1]); }}},
      {"step", {1, 2, [](Context& c, const Words& w) { RunFrames(c, OptionalCount(w), false); }}},
      {"trace", {1, 2, [](Context& c, const Words& w) { RunFrames(c, OptionalCount(w), true); }}},
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

void RunLine(Context& c, std::string_view line) {
  const auto first = line.find_first_not_of(" \t\r");
  if (first == std::string_view::npos || line[first] == '#') return;  // blank or comment
  const Words words = Split(line);
  const auto it = Commands().find(words[0]);
  if (it == Commands().end()) throw ScriptError("unknown command " + Quoted(words[0]));
  const Command& command = it->second;
  if (words.size() < command.minWords || words.size() > command.maxWords) {
    throw ScriptError("wrong number of words for " + Quoted(words[0]));
  }
  command.run(c, words);
}

}  // namespace

int RunScript(std::istream& in, std::ostream& out, std::ostream& err,
              const ScriptOptions& options) {
  Session session;
  Context context{session, out, options.maxFrames, options.maxFrames};
  const auto fail = [&out, &err](const std::string& message) {
    out.flush();
    err << "kragmoor-sim: " << message << '\n';
    return 2;
  };
  // A stream that failed to open reads as empty: that is no empty script.
  if (!in || in.rdbuf() == nullptr) return fail("cannot read " + options.inputName);
  std::string line;
  for (long number = 1;; ++number) {
    const auto failAt = [&fail, number](const std::string& message) {
      return fail("line " + std::to_string(number) + ": " + message);
    };
    LineRead read = LineRead::kEnd;
    try {
      read = ReadLine(*in.rdbuf(), line);
    } catch (const std::system_error& error) {
      return fail("cannot read " + options.inputName + " : " + error.code().message());
    } catch (const std::bad_alloc&) {
      return failAt("out of memory");
    }
    if (read == LineRead::kEnd) return 0;
    try {
      if (read == LineRead::kTooLong) {
        throw ScriptError("the line is longer than " + std::to_string(kMaxLineBytes) + " bytes");
      }
      RunLine(context, line);
    } catch (const ScriptError& error) {
      return failAt(error.what());
    } catch (const std::bad_alloc&) {
      return failAt("out of memory");
    }
  }
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
