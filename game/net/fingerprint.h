// The simulation fingerprint a peer and a referee exchange in their first
// messages: two builds that would step the same game differently refuse
// each other before a frame is played. No Qt.
#pragma once

#include <cstdint>

namespace kragmoor::net {

// The state hash of the start-up game with a fixed seed stepped a few
// hundred frames by the three computer players, mixed with the protocol
// version. Computed once; the same on every build that simulates alike.
uint64_t SimulationFingerprint();

}  // namespace kragmoor::net
