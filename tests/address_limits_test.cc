// Per-address bounds: connections per host, and the message rates of a
// connection and of a host, on a clock the test moves.
#include "game/net/address_limits.h"

#include <gtest/gtest.h>

namespace kragmoor::net {
namespace {

constexpr auto kAllowed = LimitVerdict::kAllowed;
constexpr auto kRefuse = LimitVerdict::kRefuse;
constexpr auto kOverRate = LimitVerdict::kOverRate;

// How many of `count` messages on `connection` at `now` are let through.
int Allowed(AddressLimits& limits, ConnectionId connection, Micros now, int count) {
  int n = 0;
  for (int i = 0; i < count; ++i) n += limits.Message(connection, now) == kAllowed;
  return n;
}

TEST(AddressLimits, BoundsConnectionsPerHost) {
  AddressLimits limits({.maxConnectionsPerAddress = 2});
  EXPECT_EQ(limits.Admit(1, "10.0.0.1", 0), kAllowed);
  EXPECT_EQ(limits.Admit(2, "10.0.0.1", 0), kAllowed);
  EXPECT_EQ(limits.Admit(3, "10.0.0.1", 0), kRefuse);
  EXPECT_EQ(limits.Admit(4, "10.0.0.2", 0), kAllowed);
  EXPECT_EQ(limits.Admit(4, "10.0.0.2", 0), kRefuse);  // already admitted
  limits.Forget(1);
  limits.Forget(1);
  EXPECT_EQ(limits.ConnectionsOf("10.0.0.1"), 1);
  EXPECT_EQ(limits.Admit(5, "10.0.0.1", 0), kAllowed);
  EXPECT_EQ(limits.Message(3, 0), kRefuse);  // never admitted
}

TEST(AddressLimits, BoundsMessagesPerConnectionAndPerHost) {
  AddressLimits limits({.maxConnectionsPerAddress = 4,
                        .connectionRate = 100,
                        .connectionBurst = 10,
                        .addressRate = 150,
                        .addressBurst = 10});
  ASSERT_EQ(limits.Admit(1, "a", 0), kAllowed);
  ASSERT_EQ(limits.Admit(2, "a", 0), kAllowed);
  ASSERT_EQ(limits.Admit(3, "b", 0), kAllowed);
  // A burst uses the connection's bucket and its host's, which it shares.
  EXPECT_EQ(Allowed(limits, 1, 0, 20), 10);
  EXPECT_EQ(limits.Message(1, 0), kOverRate);
  EXPECT_EQ(Allowed(limits, 2, 0, 20), 0);
  EXPECT_EQ(Allowed(limits, 3, 0, 20), 10);  // another host is not touched
  // Then the rates: in 50 ms connection 1 earns 5, its host 7.5.
  EXPECT_EQ(Allowed(limits, 1, 50'000, 20), 5);
  EXPECT_EQ(Allowed(limits, 2, 50'000, 20), 2);
  // After a long rest the burst again, and no more.
  EXPECT_EQ(Allowed(limits, 2, 100'000'000, 20), 10);
  // Going and coming back does not refill a host's bucket.
  limits.Forget(1);
  limits.Forget(2);
  ASSERT_EQ(limits.Admit(4, "a", 100'000'000), kAllowed);
  EXPECT_EQ(Allowed(limits, 4, 100'000'000, 20), 0);
  EXPECT_EQ(Allowed(limits, 4, 100'020'000, 20), 3);  // 20 ms at 150 a second
}

}  // namespace
}  // namespace kragmoor::net
