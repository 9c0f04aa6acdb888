// A headless match: the three computer players play from the initial
// scenario for a fixed number of frames, printing a summary of each side.
#pragma once

#include <array>
#include <cstdint>
#include <ostream>

namespace kragmoor {

struct Session;
struct World;

struct MatchOptions {
  uint32_t seed = 1;
  int32_t frames = 10000;
  std::array<bool, 3> computerPlayer{true, true, true};
  std::array<int32_t, 3> levels{3, 3, 3};  // the computer players' levels, 1 to 3
  int32_t hashEvery = 0;  // print "frame F hash H" after every K-th frame; 0 for never
};

// Plays the match, printing the optional per-frame hashes, one summary line
// per side and the final "frames=N live=L hash=H" line on `out`.
void RunMatch(const MatchOptions& options, std::ostream& out);

// The same on `session`, which starts in the start-up state and ends in the
// state after the last frame (for `match --save`).
void RunMatch(const MatchOptions& options, std::ostream& out, Session& session);

// One line per side ("side 1 gold=G peasants=P bases=B") and the last line
// "frames=N live=L hash=H", as a match ends (the arena prints them too).
void PrintMatchSummary(const Session& session, int32_t frames, std::ostream& out);

}  // namespace kragmoor
