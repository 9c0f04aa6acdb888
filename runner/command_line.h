// The pieces every kragmoor-sim command's option parsing shares: a whole
// number within its range, and the one-line message of bad usage.
#pragma once

#include <charconv>
#include <iostream>
#include <string>
#include <string_view>
#include <system_error>

namespace kragmoor {

// Whether all of `text` is one decimal number from `low` to `high`; it is
// then in `value`.
template <typename T>
bool ParseWhole(std::string_view text, T low, T high, T& value) {
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && result.ec == std::errc() && result.ptr == text.data() + text.size() &&
         value >= low && value <= high;
}

// Bad usage: "kragmoor-sim: <what>" on standard error, exit status 2.
inline int Usage(const std::string& what) {
  std::cerr << "kragmoor-sim: " << what << '\n';
  return 2;
}

}  // namespace kragmoor
