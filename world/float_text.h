// Floats as text: the shortest decimal form that reads back to the same value.
#pragma once

#include <charconv>
#include <string>

namespace kragmoor {

// "100", "47.5", "0.33333334", "-0", "1e+30", "nan", "inf".
inline std::string FormatFloat(float v) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  return std::string(buffer, result.ptr);
}

inline std::string FormatDouble(double v) {
  char buffer[40];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  return std::string(buffer, result.ptr);
}

}  // namespace kragmoor
