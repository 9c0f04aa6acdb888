// A game's summary, counted while a replay plays: per side, every so many
// frames and at the end, the purse, the gold mined, the live peasants and
// bases, the entities lost and killed and the orders given; and its CSV.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/replay/replay.h"
#include "world/tigrok.h"

namespace kragmoor {

// One side's figures at one frame; the counts are from frame 0 on.
struct SideFigures {
  int32_t gold = 0;      // in the purse
  int64_t mined = 0;     // gold its peasants took from mines
  int32_t peasants = 0;  // live
  int32_t bases = 0;     // live main bases
  int64_t lost = 0;      // its peasants and main bases that died
  // Enemy peasants and main bases that died with one of its peasants or
  // bases the nearest enemy in attack range (the frame before).
  int64_t killed = 0;
  // Orders given to its entities by a player or a bot: `order` inputs to a
  // live entity, and clicks that changed the selected entity's order.
  int64_t orders = 0;
};

struct SummarySample {
  int64_t frame = 0;
  std::array<SideFigures, kSideCount> sides;
};

struct Summary {
  // Samples at frame 0, every `every` frames, and at the recording's last
  // frame: the last is the final table.
  std::vector<SummarySample> samples;
};

// Frames between two samples, by default.
inline constexpr int64_t kSummaryEvery = 100;

// Plays `replay` from frame 0 to its end (it is left there), counting a
// sample every `every` frames (REQUIRES: every > 0).
Summary Summarize(Replay& replay, int64_t every = kSummaryEvery);

// The header "frame,side,gold,mined,peasants,bases,lost,killed,orders" and
// a line per sample and side (sides 1 to 3, as the game shows them); only
// the last sample's lines with `finalOnly`.
std::string SummaryCsv(const Summary& summary, bool finalOnly = false);

}  // namespace kragmoor
