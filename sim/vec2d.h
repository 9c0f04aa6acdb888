// Two-dimensional vectors of 32-bit floats: the distance of two entities,
// normalisation and the push that separates two overlapping entities. Values
// the rules name are rounded to float at exactly those steps; everything in
// between is carried in double. Defined here, inline, so that the contact
// pass keeps the positions of a crowded row in registers.
#pragma once

#include <cmath>
#include <cstdint>

#include "world/tigrok.h"

namespace kragmoor {

struct Vec2 {
  float x = 0.0f;
  float y = 0.0f;
};

// The length of v: squares and sum in double, the root rounded to a float.
inline float Length(Vec2 v) {
  return static_cast<float>(
      std::sqrt(static_cast<double>(v.x) * v.x + static_cast<double>(v.y) * v.y));
}

// Distance of two entities: the differences as 32-bit floats, then their
// Length. Symmetric.
inline float Distance2D(const Tigrok& a, const Tigrok& b) { return Length({a.x - b.x, a.y - b.y}); }

// v scaled to length 1, each component rounded to float. The zero vector has
// no direction; it gives (1, 0), so two entities on the same spot are pushed
// apart along x and no NaN ever reaches a position.
inline Vec2 Normalize2D(Vec2 v) {
  const float len = Length(v);
  if (len == 0.0f) return {1.0f, 0.0f};
  return {static_cast<float>(static_cast<double>(v.x) / len),
          static_cast<float>(static_cast<double>(v.y) / len)};
}

// Pushes two circles apart when they overlap: each moves half the overlap
// along the line through both centres, a away from b. A position is written
// back only when its kind is a peasant. Returns true when the circles
// overlapped before the push.
inline bool SeparatePair(Vec2& a, Vec2& b, float radiusA, float radiusB, int32_t kindA,
                         int32_t kindB) {
  const Vec2 d{a.x - b.x, a.y - b.y};
  const float len = Length(d);
  const Vec2 n = Normalize2D(d);
  const double reach = static_cast<double>(radiusA) + radiusB;
  if (!(reach > len)) return false;
  const float overlap = static_cast<float>(reach - len);
  const double halfX = static_cast<double>(n.x) * overlap / 2.0;
  const double halfY = static_cast<double>(n.y) * overlap / 2.0;
  if (kindA == kKindPeasant) {
    a.x = static_cast<float>(a.x + halfX);
    a.y = static_cast<float>(a.y + halfY);
  }
  if (kindB == kKindPeasant) {
    b.x = static_cast<float>(b.x - halfX);
    b.y = static_cast<float>(b.y - halfY);
  }
  return true;
}

}  // namespace kragmoor
