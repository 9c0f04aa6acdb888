// A tournament's standings: each entrant's matches, failures, places and
// rating, folded in match by match, and the table that ranks them. No
// matches are run here.
#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "runner/arena.h"
#include "runner/rating.h"

namespace kragmoor {

inline constexpr size_t kMaxEntrantNameBytes = 40;

// Whether `name` may name an entrant: 1 to kMaxEntrantNameBytes bytes of
// printable UTF-8 (as Quoted shows it unescaped) with no space, comma or
// backslash, so that it stays one word of a match line and of a table row.
bool IsEntrantName(std::string_view name);

struct Entrant {
  std::string name;
  ArenaSide side;
  int64_t matches = 0;   // seats played to the end in a counted match
  int64_t failed = 0;    // seats on which its bot failed, or whose match could not be played
  int64_t firsts = 0;    // first places among the seats that played
  int64_t placeSum = 0;  // of those places
  Rating rating;
};

// Whether a seat's status says its bot failed: it did not start, ran out of
// time, exited or wrote bad output (anything but ok, ai and none).
bool SeatFailed(const std::string& status);

// Folds one match in, `seating` giving the entrant of each side. A seat whose
// bot failed counts as a failure of its entrant and nothing else; the other
// seats are placed among themselves (their order kept) and rated on that,
// when at least two of them played: a match of one counts for no one.
// Returns whether a seat failed.
bool CountMatch(std::vector<Entrant>& entrants, const std::array<int, kSideCount>& seating,
                const ArenaResult& result);

// A match that could not be played: a failure for the entrant of every seat.
void CountLostMatch(std::vector<Entrant>& entrants, const std::array<int, kSideCount>& seating);

// "rank name matches firsts mean_place mu sigma failed" and one row an
// entrant: those that played a match ranked by the rating's mean, then those
// that played none, in the order given, with "-" for rank, place and rating.
void PrintTable(const std::vector<Entrant>& entrants, std::ostream& out);

}  // namespace kragmoor
