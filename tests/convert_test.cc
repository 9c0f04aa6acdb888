// Float-to-integer conversions at their edges: values beyond 32 bits go to
// the nearest limit, NaN gives 0, nothing is undefined. The places the game
// converts are tested beside their own code (control_test, scene_test,
// computer_player_test).
#include "world/convert.h"

#include <gtest/gtest.h>

#include <limits>

namespace kragmoor {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(TruncToInt32, TowardZeroAndSaturating) {
  const struct {
    double in;
    int32_t out;
  } cases[] = {
      {0.0, 0},
      {-0.0, 0},
      {0.99, 0},
      {-0.6, 0},
      {-1.2, -1},
      {2147483646.9, 2147483646},
      {2147483647.0, INT32_MAX},
      {2147483647.9, INT32_MAX},
      {2147483648.0, INT32_MAX},
      {1e300, INT32_MAX},
      {kInf, INT32_MAX},
      {-2147483648.0, INT32_MIN},
      {-2147483648.9, INT32_MIN},
      {-2147483649.0, INT32_MIN},
      {-kInf, INT32_MIN},
      {kNaN, 0},
      {-kNaN, 0},
      {std::numeric_limits<double>::denorm_min(), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(TruncToInt32(c.in), c.out) << c.in;
}

TEST(RoundToInt32, HalvesToEvenAndSaturating) {
  const struct {
    double in;
    int32_t out;
  } cases[] = {
      {0.5, 0},
      {1.5, 2},
      {2.5, 2},
      {-0.5, 0},
      {-1.5, -2},
      {-2.5, -2},
      {125.5, 126},
      {126.5, 126},
      {2147483646.5, 2147483646},
      {2147483647.4, INT32_MAX},
      {2147483647.5, INT32_MAX},  // rounds to 2^31: saturates
      {kInf, INT32_MAX},
      {-2147483648.5, INT32_MIN},  // rounds to -2^31 (even)
      {-2147483649.5, INT32_MIN},
      {-kInf, INT32_MIN},
      {kNaN, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundToInt32(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace kragmoor
