// Two-dimensional vectors of 32-bit floats: the distance of two entities,
// normalisation and the push that separates two overlapping entities.
#pragma once

#include <cstdint>

#include "world/tigrok.h"

namespace kragmoor {

struct Vec2 {
  float x = 0.0f;
  float y = 0.0f;
};

// The length of v: squares and sum in double, the root rounded to a float.
float Length(Vec2 v);

// Distance of two entities: the differences as 32-bit floats, then their
// Length. Symmetric.
float Distance2D(const Tigrok& a, const Tigrok& b);

// v scaled to length 1, each component rounded to float. The zero vector has
// no direction; it gives (1, 0), so two entities on the same spot are pushed
// apart along x and no NaN ever reaches a position.
Vec2 Normalize2D(Vec2 v);

// Pushes two circles apart when they overlap: each moves half the overlap
// along the line through both centres, a away from b. A position is written
// back only when its kind is a peasant. Returns true when the circles
// overlapped before the push.
bool SeparatePair(Vec2& a, Vec2& b, float radiusA, float radiusB, int32_t kindA, int32_t kindB);

}  // namespace kragmoor
