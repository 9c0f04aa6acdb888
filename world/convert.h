// Float-to-integer conversions that never overflow: out-of-range values
// saturate to the nearest 32-bit limit and NaN gives 0.
#pragma once

#include <cmath>
#include <cstdint>

namespace kragmoor {

// v truncated toward zero (the cursor cell, the hit test).
inline int32_t TruncToInt32(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(v);
}

// v rounded to the nearest integer, halves to even (builder positions, the
// health shown in the information list).
inline int32_t RoundToInt32(double v) {
  if (std::isnan(v)) return 0;
  const double r = std::nearbyint(v);  // the default rounding mode: halves to even
  if (r >= 2147483647.0) return INT32_MAX;
  if (r <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(r);
}

// Two's-complement product, for cell coordinates taken from a saturated cell.
inline int32_t WrapMul(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

}  // namespace kragmoor
