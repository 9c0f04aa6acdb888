// Tournaments: seatings, matches on worker threads, places and ratings.
#include "runner/tournament.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <condition_variable>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "game/quote.h"
#include "runner/arena.h"
#include "runner/command_line.h"
#include "runner/match.h"
#include "runner/rating.h"

namespace kragmoor {

namespace {

struct Entrant {
  std::string name;
  ArenaSide side;
  int64_t matches = 0;  // seats taken
  int64_t firsts = 0;
  int64_t placeSum = 0;
  Rating rating;
};

struct Game {
  uint32_t seed = 0;
  std::array<int, kSideCount> seating{};  // entrant of each side
  ArenaResult result;
  bool done = false;
};

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

// The rating update of one match: each seat a team of one; an entrant on
// several seats takes the sum of its seats' changes.
void Rate(std::vector<Entrant>& entrants, const Game& game) {
  std::vector<std::vector<Rating>> teams;
  std::vector<int> ranks;
  for (int s = 0; s < kSideCount; ++s) {
    teams.push_back({entrants[game.seating[s]].rating});
    ranks.push_back(game.result.places[s]);
  }
  const auto rated = RatePlackettLuce(teams, ranks);
  std::vector<Rating> after(entrants.size());
  for (size_t e = 0; e < entrants.size(); ++e) after[e] = entrants[e].rating;
  for (int s = 0; s < kSideCount; ++s) {
    const Rating& before = teams[s][0];
    Rating& r = after[game.seating[s]];
    r.mu += rated[s][0].mu - before.mu;
    r.sigma *= rated[s][0].sigma / before.sigma;
  }
  for (size_t e = 0; e < entrants.size(); ++e) entrants[e].rating = after[e];
}

}  // namespace

int TournamentCommand(int argc, char** argv, std::ostream& out) {
  ArenaOptions options;
  SeedRange seeds{1, 10};
  int32_t jobs = DefaultJobs();
  std::vector<Entrant> entrants;
  for (int i = 2; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (!word.starts_with("--")) {
      const auto eq = word.find('=');
      Entrant e;
      if (eq == 0 || eq == std::string_view::npos || !ParseArenaSide(word.substr(eq + 1), e.side)) {
        return Usage("bad entrant " + Quoted(word) + "; an entrant is NAME=SIDE");
      }
      e.name = word.substr(0, eq);
      for (const Entrant& other : entrants) {
        if (other.name == e.name) return Usage("two entrants named " + Quoted(e.name));
      }
      entrants.push_back(std::move(e));
      continue;
    }
    if (i + 1 >= argc) return Usage("option '" + std::string(word) + "' needs a value");
    const std::string_view value = argv[++i];
    bool ok = true;
    if (word == "--seeds") {
      ok = ParseSeedRange(value, seeds);
    } else if (word == "--frames") {
      ok = ParseWhole<int32_t>(value, 0, INT32_MAX, options.frames);
    } else if (word == "--jobs") {
      ok = ParseWhole<int32_t>(value, 1, kMaxJobs, jobs);
    } else if (word == "--turn") {
      ok = ParseWhole<int32_t>(value, 1, INT32_MAX, options.turn);
    } else if (word == "--budget") {
      ok = ParseWhole<int32_t>(value, 1, INT32_MAX, options.budgetMs);
    } else {
      return Usage("unknown option " + Quoted(word) + "; try 'kragmoor-sim --help'");
    }
    if (!ok) return Usage("bad value " + Quoted(value) + " for " + std::string(word));
  }
  if (entrants.empty()) return Usage("'tournament' needs at least one entrant NAME=SIDE");
  constexpr uint64_t kMaxGames = uint64_t{1} << 24;  // far beyond any sensible tournament
  const auto seatings = Seatings(static_cast<int>(entrants.size()));
  if (seeds.Count() * seatings.size() > kMaxGames) return Usage("too many matches");

  std::vector<Game> games;
  for (uint64_t k = 0; k < seeds.Count(); ++k) {
    for (const auto& seating : seatings) {
      games.push_back(Game{static_cast<uint32_t>(seeds.first + k), seating, {}, false});
    }
  }
  std::mutex mutex;
  std::condition_variable finished;
  std::atomic<size_t> next{0};
  const auto errorLine = [&mutex](const std::string& line) {
    const std::lock_guard lock(mutex);
    std::cerr << line << '\n';
  };
  const auto work = [&] {
    for (size_t g = next++; g < games.size(); g = next++) {
      ArenaOptions one = options;
      one.seed = games[g].seed;
      std::array<ArenaSide, kSideCount> sides;
      for (int s = 0; s < kSideCount; ++s) sides[s] = entrants[games[g].seating[s]].side;
      ArenaResult result;
      std::string error;
      const auto prefixed = [&errorLine, g](const std::string& line) {
        errorLine("match " + std::to_string(g + 1) + " " + line);
      };
      RunArena(one, sides, prefixed, result, error);
      const std::lock_guard lock(mutex);
      games[g].result = std::move(result);
      games[g].done = true;
      finished.notify_all();
    }
  };
  std::vector<std::jthread> workers;
  for (int j = 0; j < std::min<int64_t>(jobs, static_cast<int64_t>(games.size())); ++j) {
    workers.emplace_back(work);
  }
  for (size_t g = 0; g < games.size(); ++g) {
    {
      std::unique_lock lock(mutex);
      finished.wait(lock, [&] { return games[g].done; });
    }
    const Game& game = games[g];
    out << "match " << g + 1 << " seed=" << game.seed;
    for (int s = 0; s < kSideCount; ++s) {
      out << (s == 0 ? " sides=" : ",") << entrants[game.seating[s]].name;
    }
    for (int s = 0; s < kSideCount; ++s) {
      out << (s == 0 ? " places=" : ",") << game.result.places[s];
    }
    for (int s = 0; s < kSideCount; ++s) {
      out << (s == 0 ? " status=" : ",") << game.result.seats[s].status;
    }
    out << '\n';
    out.flush();
    for (int s = 0; s < kSideCount; ++s) {
      Entrant& e = entrants[game.seating[s]];
      ++e.matches;
      e.firsts += game.result.places[s] == 1 ? 1 : 0;
      e.placeSum += game.result.places[s];
    }
    Rate(entrants, game);
  }
  std::vector<size_t> order(entrants.size());
  for (size_t e = 0; e < order.size(); ++e) order[e] = e;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return entrants[a].rating.mu > entrants[b].rating.mu;
  });
  out << "rank name matches firsts mean_place mu sigma\n";
  for (size_t k = 0; k < order.size(); ++k) {
    const Entrant& e = entrants[order[k]];
    char line[200];
    std::snprintf(line, sizeof line, "%zu %s %lld %lld %.3f %.3f %.3f\n", k + 1, e.name.c_str(),
                  static_cast<long long>(e.matches), static_cast<long long>(e.firsts),
                  e.matches > 0 ? static_cast<double>(e.placeSum) / e.matches : 0.0, e.rating.mu,
                  e.rating.sigma);
    out << line;
  }
  return 0;
}

}  // namespace kragmoor
