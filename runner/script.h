// Scenario scripts of the headless runner: one command per line, run on a
// session that starts in the game's start-up state.
#pragma once

#include <istream>
#include <ostream>

namespace kragmoor {

// Runs the script read from `in`, printing its output on `out`. Returns 0
// when the script runs to its end; on a script error prints
// "kragmoor-sim: line L: <what is wrong>" on `err` and returns 2 at once.
int RunScript(std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace kragmoor
