// kragmoor-sim summary: a recording's figures per side over time, as CSV.
#pragma once

#include <ostream>

namespace kragmoor {

// `kragmoor-sim summary [--every N] RECORDING`: replays RECORDING
// and prints its summary (game/replay/summary.h) on `out`. Exit status 0; 1
// when the replay disagrees with the recording, 3 when it was cut short
// (the figures are printed either way, one line on standard error says
// where); 2 for bad usage or a file that is no recording.
int SummaryCommand(int argc, char** argv, std::ostream& out);

}  // namespace kragmoor
