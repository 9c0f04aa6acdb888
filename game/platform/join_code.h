// Join codes of network play: 64 bits from the system's random source
// (getrandom), written as 16 hex digits. POSIX (Linux); no Qt.
#pragma once

#include <string>

namespace kragmoor {

// A new code in `code`; false with the reason when the system gives no
// random bytes.
bool NewJoinCode(std::string& code, std::string& error);

}  // namespace kragmoor
