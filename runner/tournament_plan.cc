// A tournament's plan and the reading of its collected results.
#include "runner/tournament_plan.h"

#include <charconv>
#include <string_view>

#include "game/platform/files.h"

namespace kragmoor {

namespace {

// `word` in single quotes for /bin/sh, each ' written as '\''.
std::string ShellQuoted(std::string_view word) {
  std::string out = "'";
  for (const char c : word) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + '\'';
}

std::string SideWord(const ArenaSide& side) {
  switch (side.kind) {
    case ArenaSide::Kind::kAi:
      return "ai:" + std::to_string(side.level);
    case ArenaSide::Kind::kNone:
      return "none";
    case ArenaSide::Kind::kBot:
      break;
  }
  return side.command;
}

bool ReadInt(std::string_view text, int& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

// What one match's output has shown so far.
struct Block {
  std::optional<size_t> match;  // the plan's index, from its tag
  ArenaResult result;
  int bots = 0;         // bot lines read
  bool placed = false;  // the places line read
  bool ended = false;   // the frames= line read
};

// "bot N name="..." status=S ..." into the seat's status.
bool ReadBotLine(std::string_view line, Block& block) {
  constexpr std::string_view kName = " name=\"";
  const size_t name = line.find(kName);
  if (name == std::string_view::npos) return false;
  int side = 0;
  if (!ReadInt(line.substr(4, name - 4), side) || side != block.bots + 1) return false;
  // A bot's name holds no double quote: the next one closes it.
  const size_t close = line.find('"', name + kName.size());
  constexpr std::string_view kStatus = "\" status=";
  if (close == std::string_view::npos || line.substr(close, kStatus.size()) != kStatus)
    return false;
  std::string_view status = line.substr(close + kStatus.size());
  status = status.substr(0, status.find(' '));
  if (status.empty()) return false;
  SeatResult& seat = block.result.seats[block.bots++];
  seat.name = line.substr(name + kName.size(), close - name - kName.size());
  seat.status = status;
  return true;
}

bool ReadPlaces(std::string_view line, Block& block) {
  line.remove_prefix(7);  // "places "
  for (int s = 0; s < kSideCount; ++s) {
    const size_t space = line.find(' ');
    const std::string_view word = line.substr(0, space);
    if (!ReadInt(word, block.result.places[s]) || block.result.places[s] < 1 ||
        block.result.places[s] > kSideCount) {
      return false;
    }
    if ((space == std::string_view::npos) != (s == kSideCount - 1)) return false;
    line.remove_prefix(space == std::string_view::npos ? line.size() : space + 1);
  }
  block.placed = true;
  return true;
}

}  // namespace

std::string PlanTag(const std::vector<PlannedMatch>& plan, size_t index,
                    const std::vector<Entrant>& entrants) {
  const PlannedMatch& m = plan[index];
  std::string tag = "match=" + std::to_string(index + 1) + ",of=" + std::to_string(plan.size()) +
                    ",seed=" + std::to_string(m.seed) + ",sides=";
  for (int s = 0; s < kSideCount; ++s) tag += (s == 0 ? "" : ",") + entrants[m.seating[s]].name;
  return tag;
}

void PrintPlan(const std::vector<PlannedMatch>& plan, const std::vector<Entrant>& entrants,
               const ArenaOptions& options, std::ostream& out) {
  for (size_t g = 0; g < plan.size(); ++g) {
    out << "kragmoor-sim arena --seed " << plan[g].seed << " --frames " << options.frames
        << " --turn " << options.turn << " --budget " << options.budgetMs << " --overtime "
        << options.overtimeMs << " --tag " << ShellQuoted(PlanTag(plan, g, entrants));
    for (int s = 0; s < kSideCount; ++s) {
      out << ' ' << ShellQuoted(SideWord(entrants[plan[g].seating[s]].side));
    }
    out << '\n';
  }
}

bool ReadResults(const std::vector<std::string>& paths, const std::vector<PlannedMatch>& plan,
                 const std::vector<Entrant>& entrants,
                 std::vector<std::optional<ArenaResult>>& results, std::string& error) {
  results.assign(plan.size(), std::nullopt);
  size_t total = 0;
  for (const std::string& path : paths) {
    std::string text, why;
    if (!ReadSmallFile(path, kMaxResultsBytes - total, text, why)) {
      error = "cannot read " + QuotedPath(path) + ": " + why;
      return false;
    }
    total += text.size();
    Block block;
    size_t lineNumber = 0;
    const auto bad = [&](const std::string& what) {
      error = QuotedPath(path) + " line " + std::to_string(lineNumber) + ": " + what;
      return false;
    };
    for (size_t at = 0; at < text.size();) {
      const size_t end = std::min(text.find('\n', at), text.size());
      const std::string_view line(text.data() + at, end - at);
      at = end + 1;
      ++lineNumber;
      if (line.size() > kMaxResultsLineBytes) return bad("the line is too long");
      if (line.starts_with("tag ")) {
        if (block.match && !block.ended) return bad("a tag before the last match ended");
        block = Block{};
        // The plan's tag of some match: find which, from its number.
        const std::string_view tag = line.substr(4);
        int number = 0;
        const size_t comma = tag.find(',');
        if (!tag.starts_with("match=") || comma == std::string_view::npos ||
            !ReadInt(tag.substr(6, comma - 6), number) || number < 1 ||
            static_cast<size_t>(number) > plan.size() ||
            tag != PlanTag(plan, static_cast<size_t>(number - 1), entrants)) {
          return bad("a tag of another plan: " + std::string(tag.substr(0, 200)));
        }
        block.match = static_cast<size_t>(number - 1);
        if (results[*block.match]) return bad("match " + std::to_string(number) + " given twice");
        continue;
      }
      if (!block.match || block.ended) {
        if (line.empty()) continue;
        return bad("a line outside a tagged match's output");
      }
      if (line.starts_with("bot ")) {
        if (block.bots >= kSideCount || block.placed || !ReadBotLine(line, block)) {
          return bad("not a bot line of the arena");
        }
      } else if (line.starts_with("places ")) {
        if (block.bots != kSideCount || block.placed || !ReadPlaces(line, block)) {
          return bad("not the arena's places line");
        }
      } else if (block.placed) {
        // The match's own lines: the sides, any frame error and the last line.
        block.result.matchLines.append(line).push_back('\n');
        if (line.starts_with("frames=")) {
          block.ended = true;
          results[*block.match] = block.result;
        }
      } else {
        return bad("not a line of the arena's output");
      }
    }
    if (block.match && !block.ended) {
      return bad("the output of match " + std::to_string(*block.match + 1) + " is cut short");
    }
  }
  return true;
}

}  // namespace kragmoor
