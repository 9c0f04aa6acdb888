// Russian number agreement for the texts the game shows the player.
#pragma once

#include <cstdint>
#include <string>

namespace kragmoor {

// The form of a noun after the number n: `one` for 1, 21, 31 ... (not 11),
// `few` for 2-4, 22-24 ... (not 12-14), `many` otherwise.
inline std::string RussianCount(uint64_t n, const char* one, const char* few, const char* many) {
  const uint64_t m = n % 100;
  if (m % 10 == 1 && m != 11) return one;
  if (m % 10 >= 2 && m % 10 <= 4 && (m < 12 || m > 14)) return few;
  return many;
}

}  // namespace kragmoor
