// The push-apart and normalisation, and the pair order of the contact passes.
#include "sim/contacts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "sim/vec2d.h"

namespace kragmoor {
namespace {

Tigrok At(float x, float y) {
  Tigrok t;
  t.x = x;
  t.y = y;
  return t;
}

TEST(Distance2D, RoundsDifferencesAndResultToFloat) {
  EXPECT_EQ(Distance2D(At(0, 0), At(3, 4)), 5.0f);
  EXPECT_EQ(Distance2D(At(3, 4), At(0, 0)), 5.0f);
  EXPECT_EQ(Distance2D(At(0, 0), At(100, 0)), 100.0f);
  // The difference is rounded to float before squaring: 1e8 - 1 is 1e8 in float.
  EXPECT_EQ(Distance2D(At(1e8f, 0), At(1, 0)), 1e8f);
  // Squares are summed in double, so no overflow for huge coordinates.
  EXPECT_EQ(Distance2D(At(3e30f, 0), At(0, 4e30f)), 5e30f);
  EXPECT_TRUE(std::isinf(Distance2D(At(3e38f, 0), At(-3e38f, 0))));
  EXPECT_TRUE(std::isnan(Distance2D(At(std::numeric_limits<float>::quiet_NaN(), 0), At(0, 0))));
}

TEST(Normalize2D, UnitLengthAndTheZeroVector) {
  const Vec2 n = Normalize2D({3.0f, 4.0f});
  EXPECT_EQ(n.x, 0.6f);
  EXPECT_EQ(n.y, 0.8f);
  const Vec2 zero = Normalize2D({0.0f, 0.0f});
  EXPECT_EQ(zero.x, 1.0f);
  EXPECT_EQ(zero.y, 0.0f);
  const Vec2 negativeZero = Normalize2D({-0.0f, -0.0f});
  EXPECT_EQ(negativeZero.x, 1.0f);
  // Tiny components are squared in double, so they do not vanish.
  const Vec2 tiny = Normalize2D({1e-30f, 0.0f});
  EXPECT_EQ(tiny.x, 1.0f);
}

TEST(SeparatePair, OnlyPeasantsMoveAndTheResultReportsTheOverlap) {
  Vec2 a{100, 100};
  Vec2 b{130, 100};
  EXPECT_TRUE(SeparatePair(a, b, 25, 25, kKindPeasant, kKindPeasant));
  EXPECT_EQ(a.x, 90.0f);
  EXPECT_EQ(b.x, 140.0f);

  a = {100, 100};
  b = {130, 100};
  EXPECT_TRUE(SeparatePair(a, b, 25, 25, kKindBase, kKindMine));
  EXPECT_EQ(a.x, 100.0f);
  EXPECT_EQ(b.x, 130.0f);

  a = {100, 100};
  b = {150, 100};
  EXPECT_FALSE(SeparatePair(a, b, 25, 25, kKindPeasant, kKindPeasant));
  EXPECT_EQ(a.x, 100.0f);
  EXPECT_EQ(b.x, 150.0f);
}

TEST(SeparatePair, NoNanEntersAPosition) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  // Same spot: pushed apart along x.
  Vec2 a{5, 5};
  Vec2 b{5, 5};
  EXPECT_TRUE(SeparatePair(a, b, 25, 25, kKindPeasant, kKindPeasant));
  EXPECT_EQ(a.x, 30.0f);
  EXPECT_EQ(b.x, -20.0f);
  EXPECT_EQ(a.y, 5.0f);
  // Infinite or NaN distances never touch, so nothing is written.
  for (Vec2 far : {Vec2{inf, 0}, Vec2{nan, 0}, Vec2{0, -inf}, Vec2{3e38f, 3e38f}}) {
    a = {-3e38f, -3e38f};
    b = far;
    EXPECT_FALSE(SeparatePair(a, b, 25, 25, kKindPeasant, kKindPeasant));
    EXPECT_EQ(a.x, -3e38f);
  }
  // Same huge spot: the push is lost in rounding, but stays a number.
  a = {1e30f, 1e30f};
  b = {1e30f, 1e30f};
  EXPECT_TRUE(SeparatePair(a, b, 25, 25, kKindPeasant, kKindPeasant));
  EXPECT_FALSE(std::isnan(a.x) || std::isnan(b.x));
}

TEST(ContactPass, LaterPairsSeeEarlierPushes) {
  // Three peasants in a row, each 30 from the next: pair (0,1) pushes 1
  // towards 2 before pair (1,2) is looked at.
  World world;
  for (int i = 0; i < 3; ++i) {
    world.entities[i].hp = 1;
    world.entities[i].kind = kKindPeasant;
    world.entities[i].x = 100.0f + 30.0f * i;
  }
  FrameScratch scratch(world);
  ContactPass(world, scratch);
  EXPECT_EQ(world.entities[0].x, 90.0f);
  // Pair (0,2): 60 apart, no touch. Pair (1,2): 140 and 160 are 20 apart.
  EXPECT_EQ(world.entities[1].x, 125.0f);
  EXPECT_EQ(world.entities[2].x, 175.0f);
}

}  // namespace
}  // namespace kragmoor
