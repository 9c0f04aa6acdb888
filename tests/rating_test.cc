// The free-for-all rating model against values published for it.
#include "runner/rating.h"

#include <gtest/gtest.h>

namespace kragmoor {
namespace {

// The example of OpenSkill's README (openskill.py, "Usage": a1 and a2 on a
// team beat b1 and b2 with the default Plackett-Luce model), its printed
// results to the last digit shown.
TEST(Rating, PlackettLuceGivesOpenSkillsPublishedExample) {
  const std::vector<std::vector<Rating>> teams = {{{25.0, 25.0 / 3.0}, {32.444, 5.123}},
                                                  {{43.381, 2.421}, {25.188, 6.211}}};
  const auto rated = RatePlackettLuce(teams, {1, 2});
  const double expected[4][2] = {{28.669648436582808, 8.071520788025197},
                                 {33.83086971107981, 5.062772998705765},
                                 {43.071274808241974, 2.4166900452721256},
                                 {23.149503312339064, 6.1378606973362135}};
  for (int k = 0; k < 4; ++k) {
    const Rating& r = rated[k / 2][k % 2];
    EXPECT_NEAR(r.mu, expected[k][0], 1e-12) << k;
    EXPECT_NEAR(r.sigma, expected[k][1], 1e-12) << k;
  }
}

// Three players alone: the winner gains, the last loses, a tie is even.
TEST(Rating, FreeForAllOrdersAndTies) {
  const std::vector<std::vector<Rating>> three = {{Rating{}}, {Rating{}}, {Rating{}}};
  const auto rated = RatePlackettLuce(three, {1, 2, 3});
  EXPECT_GT(rated[0][0].mu, rated[1][0].mu);
  EXPECT_GT(rated[1][0].mu, rated[2][0].mu);
  EXPECT_LT(rated[2][0].sigma, Rating{}.sigma);
  const auto tie = RatePlackettLuce(three, {1, 1, 1});
  EXPECT_NEAR(tie[0][0].mu, tie[2][0].mu, 1e-12);
}

}  // namespace
}  // namespace kragmoor
