// kragmoor-sim serve and join: a network game's referee and its peers over
// ENet, with the options, lines and exit statuses of the runner's contract.
#pragma once

#include <ostream>

namespace kragmoor {

// Exit statuses of join besides 0 and bad usage (2).
inline constexpr int kDesyncStatus = 4;  // a desync report named this peer's seat
inline constexpr int kLostStatus = 5;    // the connection was lost and not made again

// kragmoor-sim serve [OPTIONS] SIDE1 SIDE2 SIDE3 (argv[1] is "serve").
int ServeCommand(int argc, char** argv, std::ostream& out);

// kragmoor-sim join [OPTIONS] HOST:PORT (argv[1] is "join").
int JoinCommand(int argc, char** argv, std::ostream& out);

}  // namespace kragmoor
