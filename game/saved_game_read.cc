// Reading saved games: the checked text read line by line into a game of
// its own, through the input table's commands that set state.
#include "game/input.h"
#include "game/platform/files.h"
#include "game/play.h"
#include "game/quote.h"
#include "game/saved_game.h"
#include "game/words.h"

namespace kragmoor {

namespace {

void ReadLine(Session& session, std::string_view line) {
  const auto first = line.find_first_not_of(" \t\r");
  if (first == std::string_view::npos || line[first] == '#') return;  // blank or comment
  const Words words = Split(line);
  const InputEntry* entry = FindInput(words[0]);
  if (entry == nullptr || !entry->setsState) {
    throw ScriptError(Quoted(words[0]) + " is not a command that sets state");
  }
  Apply(session, ParseInput(*entry, words));
}

}  // namespace

bool LoadSavedGameText(std::string_view original, Session& session, std::string& error) {
  const std::string plain = PlainLineEnds(original);  // CRLF and a BOM read as written
  const std::string_view text = plain;
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
  session = std::move(loaded);
  return true;
}

bool LoadSavedGame(const std::string& path, Session& session, std::string& error) {
  std::string text;
  std::string why;
  if (!ReadSmallFile(path, kMaxSavedGameBytes, text, why) ||
      !LoadSavedGameText(text, session, why)) {
    error = "cannot load " + QuotedPath(path) + " : " + why;
    return false;
  }
  return true;
}

}  // namespace kragmoor
