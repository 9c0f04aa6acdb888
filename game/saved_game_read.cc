// Reading saved games: the checked text run, line by line, through a small
// reader that knows only the commands that set state, on a game of its own.
#include <functional>
#include <map>

#include "game/files.h"
#include "game/quote.h"
#include "game/saved_game.h"
#include "game/words.h"

namespace kragmoor {

namespace {

struct StateCommand {
  size_t words;  // including the command itself
  std::function<void(Session&, const Words&)> run;
};

// The commands a saved game may hold. `set` takes any number of FIELD=VALUE words.
constexpr size_t kAnyWords = 0;

const std::map<std::string, StateCommand, std::less<>>& StateCommands() {
  static const std::map<std::string, StateCommand, std::less<>> commands = {
      {"seed", {2, [](Session& s, const Words& w) { s.world.seed = ParseUnsigned(w[1]); }}},
      {"reset", {1, [](Session& s, const Words&) { ClearWorld(s.world); }}},
      {"scenario", {1, [](Session& s, const Words&) { SetUpScenario(s.world); }}},
      {"set", {kAnyWords, [](Session& s, const Words& w) { SetFields(s.world, w); }}},
      {"gold",
       {3,
        [](Session& s, const Words& w) {
          s.world.players[ParseInt(w[1], 0, kSideCount - 1)].gold = ParseInt(w[2]);
        }}},
      {"ai",
       {4,
        [](Session& s, const Words& w) {
          std::array<bool, kSideCount> ticked{};
          for (int side = 0; side < kSideCount; ++side) {
            ticked[side] = ParseInt(w[side + 1], 0, 1) == 1;
          }
          SetComputerPlayers(s, ticked);
        }}},
      {"panel",
       {3, [](Session& s, const Words& w) { SetPanel(s, ParseInt(w[1], 0), ParseInt(w[2], 0)); }}},
      {"mouse",
       {3, [](Session& s, const Words& w) { SetMouse(s, ParseInt(w[1]), ParseInt(w[2])); }}},
      {"move",
       {3, [](Session& s, const Words& w) { MoveMouse(s, ParseInt(w[1]), ParseInt(w[2])); }}},
      {"camera",
       {3, [](Session& s, const Words& w) { SetCamera(s, ParseFloat(w[1]), ParseFloat(w[2])); }}},
      {"cursor",
       {3, [](Session& s, const Words& w) { SetCursor(s, ParseInt(w[1]), ParseInt(w[2])); }}},
      {"mode", {2, [](Session& s, const Words& w) { SetClickMode(s, ParseInt(w[1])); }}},
      {"build", {2, [](Session& s, const Words& w) { SetBuildItem(s, ParseInt(w[1])); }}},
      {"select",
       {2, [](Session& s,
              const Words& w) { s.world.view.selected = ParseInt(w[1], -1, kSlotCount - 1); }}},
      {"tick", {2, [](Session& s, const Words& w) { s.ticks.value = ParseUnsigned(w[1]); }}},
  };
  return commands;
}

void ReadLine(Session& session, std::string_view line) {
  const auto first = line.find_first_not_of(" \t\r");
  if (first == std::string_view::npos || line[first] == '#') return;  // blank or comment
  const Words words = Split(line);
  const auto it = StateCommands().find(words[0]);
  if (it == StateCommands().end()) {
    throw ScriptError(Quoted(words[0]) + " is not a command that sets state");
  }
  const StateCommand& command = it->second;
  if (command.words == kAnyWords ? words.size() < 3 : words.size() != command.words) {
    throw ScriptError("wrong number of words for " + Quoted(words[0]));
  }
  command.run(session, words);
}

}  // namespace

bool LoadSavedGameText(std::string_view text, Session& session, std::string& error) {
  if (!VerifySavedGame(text, error)) return false;
  // Everything before the checksum line, read into a game of its own, so
  // that a save refused half-way leaves `session` as it was.
  const std::string_view body = text.substr(0, text.rfind('\n', text.size() - 2) + 1);
  Session loaded;
  long number = 1;
  for (std::string_view rest = body; !rest.empty(); ++number) {
    const auto end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end + 1);
    try {
      ReadLine(loaded, line);
    } catch (const ScriptError& e) {
      error = "line " + std::to_string(number) + ": " + e.what();
      return false;
    }
  }
  AssignGame(session, loaded);
  return true;
}

bool LoadSavedGame(const std::string& path, Session& session, std::string& error) {
  std::string text;
  std::string why;
  if (!ReadSmallFile(path, kMaxSavedGameBytes, text, why) ||
      !LoadSavedGameText(text, session, why)) {
    error = "cannot load " + Quoted(path) + " : " + why;
    return false;
  }
  return true;
}

}  // namespace kragmoor
