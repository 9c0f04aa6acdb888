// Distance, normalisation and the push-apart. Values the rules name are
// rounded to float at exactly those steps; everything in between is carried
// in double.
#include "sim/vec2d.h"

#include <cmath>

namespace kragmoor {

float Length(Vec2 v) {
  return static_cast<float>(
      std::sqrt(static_cast<double>(v.x) * v.x + static_cast<double>(v.y) * v.y));
}

float Distance2D(const Tigrok& a, const Tigrok& b) { return Length({a.x - b.x, a.y - b.y}); }

Vec2 Normalize2D(Vec2 v) {
  const float len = Length(v);
  if (len == 0.0f) return {1.0f, 0.0f};
  return {static_cast<float>(static_cast<double>(v.x) / len),
          static_cast<float>(static_cast<double>(v.y) / len)};
}

bool SeparatePair(Vec2& a, Vec2& b, float radiusA, float radiusB, int32_t kindA, int32_t kindB) {
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
