// Tournaments: every seating of three entrants on every seed, played as
// arena matches several at once, then a table ranking the entrants by a
// free-for-all rating (Weng-Lin Plackett-Luce).
#pragma once

#include <ostream>

namespace kragmoor {

// kragmoor-sim tournament [--seeds A-B] [--frames N] [--jobs J] [--turn K]
// [--budget MS] [--record-dir DIR] NAME=SIDE ... (argv[1] is "tournament").
int TournamentCommand(int argc, char** argv, std::ostream& out);

}  // namespace kragmoor
