// The Weng-Lin Plackett-Luce update (Weng and Lin, "A Bayesian
// Approximation Method for Online Ranking", JMLR 12, 2011, algorithm 4).
#include "runner/rating.h"

#include <algorithm>
#include <cmath>

namespace kragmoor {

std::vector<std::vector<Rating>> RatePlackettLuce(const std::vector<std::vector<Rating>>& teams,
                                                  const std::vector<int>& ranks) {
  const size_t n = teams.size();
  std::vector<double> mu(n, 0.0), sigmaSq(n, 0.0);
  for (size_t t = 0; t < n; ++t) {
    for (const Rating& r : teams[t]) {
      mu[t] += r.mu;
      sigmaSq[t] += r.sigma * r.sigma;
    }
  }
  double cSq = 0.0;
  for (size_t t = 0; t < n; ++t) cSq += sigmaSq[t] + kRatingBeta * kRatingBeta;
  const double c = std::sqrt(cSq);
  // sumQ[q]: the strengths of the teams placed at q's rank or below it;
  // tied[q]: how many teams share q's rank.
  std::vector<double> strength(n), sumQ(n, 0.0), tied(n, 0.0);
  for (size_t t = 0; t < n; ++t) strength[t] = std::exp(mu[t] / c);
  for (size_t q = 0; q < n; ++q) {
    for (size_t t = 0; t < n; ++t) {
      if (ranks[t] >= ranks[q]) sumQ[q] += strength[t];
      if (ranks[t] == ranks[q]) tied[q] += 1.0;
    }
  }
  std::vector<std::vector<Rating>> out = teams;
  for (size_t i = 0; i < n; ++i) {
    double omega = 0.0, delta = 0.0;
    for (size_t q = 0; q < n; ++q) {
      if (ranks[q] > ranks[i]) continue;
      const double quotient = strength[i] / sumQ[q];
      omega += (i == q ? 1.0 - quotient : -quotient) / tied[q];
      delta += quotient * (1.0 - quotient) / tied[q];
    }
    const double gamma = std::sqrt(sigmaSq[i]) / c;
    const double teamOmega = omega * sigmaSq[i] / c;
    const double teamDelta = gamma * delta * sigmaSq[i] / cSq;
    for (Rating& r : out[i]) {
      const double share = r.sigma * r.sigma / sigmaSq[i];
      r.mu += share * teamOmega;
      r.sigma *= std::sqrt(std::max(1.0 - share * teamDelta, kRatingKappa));
    }
  }
  return out;
}

}  // namespace kragmoor
