// Join codes from getrandom.
#include "game/platform/join_code.h"

#include <sys/random.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace kragmoor {

bool NewJoinCode(std::string& code, std::string& error) {
  uint8_t bytes[8];
  size_t got = 0;
  while (got < sizeof bytes) {
    const ssize_t n = ::getrandom(bytes + got, sizeof bytes - got, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = std::string("no random bytes: ") + std::strerror(errno);
      return false;
    }
    got += static_cast<size_t>(n);
  }
  static constexpr char kHex[] = "0123456789abcdef";
  code.clear();
  for (const uint8_t b : bytes) {
    code += kHex[b >> 4];
    code += kHex[b & 15];
  }
  return true;
}

}  // namespace kragmoor
