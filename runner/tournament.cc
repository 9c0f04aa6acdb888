// Tournaments: the command line, seatings, matches on worker threads, and
// Ctrl+C; the counting and the table are the standings'.
#include "runner/tournament.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "game/platform/files.h"
#include "game/quote.h"
#include "runner/arena.h"
#include "runner/command_line.h"
#include "runner/fd_stream.h"
#include "runner/match.h"
#include "runner/progress.h"
#include "runner/standings.h"
#include "runner/tournament_plan.h"

namespace kragmoor {

namespace {

constexpr uint64_t kMaxGames = uint64_t{1} << 24;  // far beyond any sensible tournament
constexpr uint64_t kAnnounceOver = 10000;          // matches; more are announced first
// The arena's speed with quick bots on one core (README's measurement,
// rounded down): only for the announced estimate, bots may be far slower.
constexpr double kAssumedFramesPerSecond = 200000.0;
constexpr std::chrono::milliseconds kInterruptPoll{100};

struct Game {
  uint32_t seed = 0;
  std::array<int, kSideCount> seating{};  // entrant of each side
  ArenaResult result;
  std::string error;  // why the match could not be played; empty when it was
  bool done = false;
  std::string recording;  // its file's name inside --record-dir, or empty
};

// A recording's file name: the match's number, its seed and its seats, each
// name with every byte but letters, digits, '-', '_' and '.' made '_', so
// that it is one plain name inside the folder (the number keeps two names
// that read alike apart).
std::string RecordingName(size_t g, const Game& game, const std::vector<Entrant>& entrants) {
  std::string name = "match" + std::to_string(g + 1) + "-seed" + std::to_string(game.seed);
  for (const int e : game.seating) {
    name += '-';
    for (const char c : entrants[e].name) {
      const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                         (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
      name += plain ? c : '_';
    }
  }
  return name + ".sim";
}

// Each ordered choice of three different entrants; with fewer than three,
// every choice with repeats that seats each entrant at least once.
std::vector<std::array<int, kSideCount>> Seatings(int n) {
  std::vector<std::array<int, kSideCount>> out;
  for (int a = 0; a < n; ++a) {
    for (int b = 0; b < n; ++b) {
      for (int c = 0; c < n; ++c) {
        const bool distinct = a != b && b != c && a != c;
        const bool allSeated =
            (a == 0 || b == 0 || c == 0) && (n < 2 || a == 1 || b == 1 || c == 1);
        if (n >= kSideCount ? distinct : allSeated) out.push_back({a, b, c});
      }
    }
  }
  return out;
}

// One line on standard error before a long tournament starts.
void Announce(uint64_t games, size_t entrants, uint64_t seeds, int32_t frames, int64_t jobs) {
  const double seconds =
      static_cast<double>(games) * frames / (kAssumedFramesPerSecond * static_cast<double>(jobs));
  const auto minutes = static_cast<long long>(seconds / 60.0 + 0.5);
  const std::string time = minutes == 0 ? "under a minute"
                                        : "about " + std::to_string(minutes / 60) + " h " +
                                              std::to_string(minutes % 60) + " min";
  std::cerr << "kragmoor-sim: " << games << " matches (" << entrants << " entrants, " << seeds
            << (seeds == 1 ? " seed, " : " seeds, ") << frames << " frames each): " << time
            << " on " << jobs << " jobs at an assumed "
            << static_cast<long long>(kAssumedFramesPerSecond)
            << " frames/s a job, longer with slow bots; Ctrl+C stops it with the table so far\n";
}

// Plays games[g] on a worker; whatever it throws makes it a match that
// could not be played.
void Play(Game& game, const ArenaOptions& options, const std::vector<Entrant>& entrants, size_t g,
          const std::string& recordDir, const std::function<void(const std::string&)>& errorLine) {
  ArenaOptions one = options;
  one.seed = game.seed;
  if (!recordDir.empty()) {
    game.recording = RecordingName(g, game, entrants);
    one.recordPath = recordDir + "/" + game.recording;
  }
  std::array<ArenaSide, kSideCount> sides;
  for (int s = 0; s < kSideCount; ++s) sides[s] = entrants[game.seating[s]].side;
  const auto prefixed = [&errorLine, g](const std::string& line) {
    errorLine("match " + std::to_string(g + 1) + " " + line);
  };
  try {
    std::string error;
    if (!RunArena(one, sides, prefixed, game.result, error)) {
      errorLine("kragmoor-sim: match " + std::to_string(g + 1) + ": " + error);
      game.recording.clear();
    }
  } catch (const std::exception& e) {
    game.error = e.what();
    if (game.error.empty()) game.error = "an error without a reason";
  } catch (...) {
    game.error = "an unknown error";
  }
}

void PrintGame(const Game& game, size_t g, const std::vector<Entrant>& entrants,
               std::ostream& out) {
  out << "match " << g + 1 << " seed=" << game.seed;
  for (int s = 0; s < kSideCount; ++s) {
    out << (s == 0 ? " sides=" : ",") << entrants[game.seating[s]].name;
  }
  for (int s = 0; s < kSideCount; ++s) {
    out << (s == 0 ? " places=" : ",");
    if (game.error.empty()) {
      out << game.result.places[s];
    } else {
      out << '-';
    }
  }
  for (int s = 0; s < kSideCount; ++s) {
    out << (s == 0 ? " status=" : ",")
        << (game.error.empty() ? game.result.seats[s].status : "error");
  }
  if (!game.recording.empty()) out << " recording=" << game.recording;
  out << '\n';
}

// Without a computer player the seed changes nothing, so matches of one
// seating on several seeds may be one match played again: a tournament of
// bots alone says how many of its matches differed: by seating, statuses,
// places and the match's own lines (each side's purse, peasants and bases,
// the live entities), the last hash left out, since it holds the seed.
void PrintDistinct(const std::vector<Game>& games, const std::vector<Entrant>& entrants,
                   std::ostream& out) {
  for (const Entrant& e : entrants) {
    if (e.side.kind == ArenaSide::Kind::kAi) return;
  }
  std::set<std::string> seen;
  size_t played = 0;
  for (const Game& game : games) {
    if (!game.done || !game.error.empty()) continue;
    ++played;
    std::string key;
    for (int s = 0; s < kSideCount; ++s) {
      key += std::to_string(game.seating[s]) + ' ' + game.result.seats[s].status + ' ';
    }
    for (const int place : game.result.places) key += std::to_string(place) + ' ';
    const std::string& lines = game.result.matchLines;
    seen.insert(key + lines.substr(0, lines.rfind(" hash=")));
  }
  out << "distinct matches " << seen.size() << " of " << played << '\n';
}

}  // namespace

int TournamentCommand(int argc, char** argv, std::ostream& out) {
  ArenaOptions options;
  SeedRange seeds{1, 10};
  int32_t jobs = DefaultJobs();
  std::string recordDir;
  std::vector<Option> known;
  for (Option& o : ArenaOptionList(options)) {
    if (o.name != "--seed" && o.name != "--record" && o.name != "--transcript" &&
        o.name != "--tag" && o.name != "--start") {
      known.push_back(std::move(o));
    }
  }
  known.push_back({"--seeds", [&](std::string_view v) { return ParseSeedRange(v, seeds); }});
  known.push_back(
      {"--jobs", [&](std::string_view v) { return ParseWhole<int32_t>(v, 1, kMaxJobs, jobs); }});
  known.push_back({"--record-dir", [&](std::string_view v) {
                     recordDir = v;
                     return !v.empty();
                   }});
  bool planOnly = false;
  std::vector<std::string> resultPaths;  // --results: the plan's outputs, played elsewhere
  known.push_back(
      {"--plan", [&](std::string_view) { return !std::exchange(planOnly, true); }, true});
  known.push_back({"--results", [&](std::string_view v) {
                     resultPaths.emplace_back(v);
                     return !v.empty();
                   }});
  std::vector<std::string_view> words;
  if (const auto done = ReadOptions(argc, argv, known, &words, out)) return *done;
  struct stat folder {};
  if (!recordDir.empty() && (::stat(recordDir.c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode))) {
    return Usage("--record-dir " + QuotedPath(recordDir) + " is not a folder");
  }
  std::vector<Entrant> entrants;
  for (const std::string_view word : words) {
    const auto eq = word.find('=');
    Entrant e;
    if (eq == 0 || eq == std::string_view::npos || !ParseArenaSide(word.substr(eq + 1), e.side)) {
      return Usage("bad entrant " + Quoted(word) + "; an entrant is NAME=SIDE");
    }
    e.name = word.substr(0, eq);
    if (!IsEntrantName(e.name)) {
      return Usage("bad entrant name " + Quoted(e.name) + "; a name is 1 to " +
                   std::to_string(kMaxEntrantNameBytes) +
                   " bytes of printable text without spaces, commas or backslashes");
    }
    for (const Entrant& other : entrants) {
      if (other.name == e.name) return Usage("two entrants named " + Quoted(e.name));
    }
    entrants.push_back(std::move(e));
  }
  if (entrants.empty()) return Usage("'tournament' needs at least one entrant NAME=SIDE");
  const auto seatings = Seatings(static_cast<int>(entrants.size()));
  const uint64_t total = seeds.Count() * seatings.size();
  if (total > kMaxGames) return Usage("too many matches");
  if (planOnly && !resultPaths.empty()) return Usage("--plan and --results do not go together");
  if (!recordDir.empty() && (planOnly || !resultPaths.empty())) {
    return Usage("--record-dir records the matches played here: not with --plan or --results");
  }
  std::vector<PlannedMatch> plan;
  for (uint64_t k = 0; k < seeds.Count(); ++k) {
    for (const auto& seating : seatings) {
      plan.push_back(PlannedMatch{static_cast<uint32_t>(seeds.first + k), seating});
    }
  }
  if (planOnly) {
    PrintPlan(plan, entrants, options, out);
    out.flush();
    return 0;
  }
  std::vector<Game> games;
  for (const PlannedMatch& m : plan) games.push_back(Game{m.seed, m.seating, {}, {}, false, {}});
  const bool collected = !resultPaths.empty();
  if (collected) {
    std::vector<std::optional<ArenaResult>> results;
    std::string error;
    if (!ReadResults(resultPaths, plan, entrants, results, error)) {
      std::cerr << "kragmoor-sim: " << error << '\n';
      return kBadUsageStatus;
    }
    for (size_t g = 0; g < games.size(); ++g) {
      games[g].done = true;
      if (results[g]) {
        games[g].result = std::move(*results[g]);
      } else {
        games[g].error = "no output of it among the results";
      }
    }
  }
  const int64_t workerCount = collected ? 0 : std::min<int64_t>(jobs, static_cast<int64_t>(total));
  if (total > kAnnounceOver && !collected) {
    Announce(total, entrants.size(), seeds.Count(), options.frames, workerCount);
  }
  CatchInterrupt();
  std::mutex mutex;
  std::condition_variable finished;
  std::atomic<size_t> next{0};
  std::atomic<size_t> busy{0};  // workers in a match
  const auto errorLine = [&mutex](const std::string& line) {
    const std::lock_guard lock(mutex);
    std::cerr << line << '\n';
  };
  // A worker counts itself busy before it looks at Ctrl+C, so that once
  // SIGINT has come and none is busy, none starts another match.
  const auto work = [&] {
    for (;;) {
      ++busy;
      const size_t g = next++;
      if (g >= games.size() || Interrupted()) {
        --busy;
        return;
      }
      Game game = games[g];
      Play(game, options, entrants, g, recordDir, errorLine);
      const std::lock_guard lock(mutex);
      games[g] = std::move(game);
      games[g].done = true;
      --busy;
      finished.notify_all();
    }
  };
  std::vector<std::jthread> workers;
  for (int64_t j = 0; j < workerCount; ++j) workers.emplace_back(work);

  // Matches are counted in their fixed order; after Ctrl+C, every one that
  // has finished by then, the others left out.
  uint64_t failedMatches = 0, played = 0;
  bool stopped = false;
  try {
    for (size_t g = 0; g < games.size(); ++g) {
      {
        std::unique_lock lock(mutex);
        while (!games[g].done && !stopped) {
          stopped = finished.wait_for(lock, kInterruptPoll, [&] { return games[g].done; })
                        ? false
                        : Interrupted();
        }
        if (!games[g].done) continue;
      }
      const Game& game = games[g];
      PrintGame(game, g, entrants, out);
      out.flush();
      ++played;
      bool failed = true;
      if (game.error.empty()) {
        failed = CountMatch(entrants, game.seating, game.result);
      } else {
        errorLine("kragmoor-sim: match " + std::to_string(g + 1) +
                  " could not be played: " + game.error);
        CountLostMatch(entrants, game.seating);
      }
      failedMatches += failed ? 1 : 0;
    }
    PrintTable(entrants, out);
    PrintDistinct(games, entrants, out);
    out.flush();
  } catch (...) {  // standard output failed: the workers stop after their match
    next = games.size();
    throw;
  }
  if (stopped) {
    std::cerr << "kragmoor-sim: interrupted (SIGINT) after " << played << " of " << total
              << " matches\n";
    // The matches still running are left behind, not waited for: their bots
    // see their input close as the program ends.
    if (busy > 0) std::_Exit(kInterruptedStatus);
    return kInterruptedStatus;
  }
  if (failedMatches > 0) {
    std::cerr << "kragmoor-sim: a bot failed, or the match could not be played, in "
              << failedMatches << " of " << total << " matches\n";
    return kBotFailedStatus;
  }
  return 0;
}

}  // namespace kragmoor
