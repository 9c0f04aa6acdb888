// Free-for-all ratings: the Weng-Lin Bayesian model with the Plackett-Luce
// likelihood, each player a normal distribution of skill with mean mu and
// deviation sigma.
#pragma once

#include <vector>

namespace kragmoor {

struct Rating {
  double mu = 25.0;           // mean skill
  double sigma = 25.0 / 3.0;  // its deviation
};

// The model's constants, at the defaults its authors publish.
inline constexpr double kRatingBeta = 25.0 / 6.0;  // performance deviation around skill
inline constexpr double kRatingKappa = 0.0001;     // floor of a sigma's shrinking factor

// One match: teams[t] are the players of team t, ranks[t] its place (1 is
// first; equal ranks are a tie). Returns every player's rating after it.
// REQUIRES: ranks has one entry per team; every team has a player.
std::vector<std::vector<Rating>> RatePlackettLuce(const std::vector<std::vector<Rating>>& teams,
                                                  const std::vector<int>& ranks);

}  // namespace kragmoor
