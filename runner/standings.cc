// The tournament's standings: counting, rating and the ranked table.
#include "runner/standings.h"

#include <algorithm>
#include <iomanip>
#include <sstream>

#include "game/quote.h"

namespace kragmoor {

bool IsEntrantName(std::string_view name) {
  if (name.empty() || name.size() > kMaxEntrantNameBytes) return false;
  if (name.find_first_of(" ,\\") != std::string_view::npos) return false;
  return Quoted(name, kMaxEntrantNameBytes) == "'" + std::string(name) + "'";
}

bool SeatFailed(const std::string& status) {
  return status != "ok" && status != "ai" && status != "none";
}

bool CountMatch(std::vector<Entrant>& entrants, const std::array<int, kSideCount>& seating,
                const ArenaResult& result) {
  std::vector<int> played;  // sides, in side order
  for (int s = 0; s < kSideCount; ++s) {
    if (SeatFailed(result.seats[s].status)) {
      ++entrants[seating[s]].failed;
    } else {
      played.push_back(s);
    }
  }
  const bool anyFailed = played.size() < kSideCount;
  if (played.size() < 2) return anyFailed;
  std::vector<std::vector<Rating>> teams;
  std::vector<int> ranks;
  for (const int s : played) {
    int place = 1;  // among the seats that played
    for (const int o : played) place += result.places[o] < result.places[s] ? 1 : 0;
    Entrant& e = entrants[seating[s]];
    ++e.matches;
    e.firsts += place == 1 ? 1 : 0;
    e.placeSum += place;
    teams.push_back({e.rating});
    ranks.push_back(place);
  }
  // Each seat is a team of one; an entrant on several seats takes the sum
  // of its seats' changes.
  const auto rated = RatePlackettLuce(teams, ranks);
  std::vector<Rating> after(entrants.size());
  for (size_t e = 0; e < entrants.size(); ++e) after[e] = entrants[e].rating;
  for (size_t t = 0; t < played.size(); ++t) {
    const Rating& before = teams[t][0];
    Rating& r = after[seating[played[t]]];
    r.mu += rated[t][0].mu - before.mu;
    r.sigma *= rated[t][0].sigma / before.sigma;
  }
  for (size_t e = 0; e < entrants.size(); ++e) entrants[e].rating = after[e];
  return anyFailed;
}

void CountLostMatch(std::vector<Entrant>& entrants, const std::array<int, kSideCount>& seating) {
  for (const int e : seating) ++entrants[e].failed;
}

void PrintTable(const std::vector<Entrant>& entrants, std::ostream& out) {
  std::vector<size_t> ranked, unranked;
  for (size_t e = 0; e < entrants.size(); ++e) {
    (entrants[e].matches > 0 ? ranked : unranked).push_back(e);
  }
  std::stable_sort(ranked.begin(), ranked.end(), [&](size_t a, size_t b) {
    return entrants[a].rating.mu > entrants[b].rating.mu;
  });
  out << "rank name matches firsts mean_place mu sigma failed\n";
  for (size_t k = 0; k < ranked.size(); ++k) {
    const Entrant& e = entrants[ranked[k]];
    std::ostringstream row;  // grows as it needs: no cut at a buffer's end
    row << std::fixed << std::setprecision(3) << k + 1 << ' ' << e.name << ' ' << e.matches << ' '
        << e.firsts << ' ' << static_cast<double>(e.placeSum) / static_cast<double>(e.matches)
        << ' ' << e.rating.mu << ' ' << e.rating.sigma << ' ' << e.failed << '\n';
    out << row.str();
  }
  for (const size_t index : unranked) {
    const Entrant& e = entrants[index];
    out << "- " << e.name << " 0 0 - - - " << e.failed << '\n';
  }
}

}  // namespace kragmoor
