// The computer player.
#include "sim/computer_player.h"

namespace kragmoor {

void ComputerPlayerStep(World& /*world*/, int /*side*/) {}

}  // namespace kragmoor
