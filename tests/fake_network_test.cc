// The fake network: reliable in-order delivery whatever its links do, delays
// as configured, stalls, drops and rejoins, and one run per seed.
#include "game/net/fake_network.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace kragmoor::net {
namespace {

std::vector<uint8_t> Numbered(uint32_t n, size_t size = 40) {
  std::vector<uint8_t> bytes(std::max<size_t>(size, 4), static_cast<uint8_t>(n));
  std::memcpy(bytes.data(), &n, 4);
  return bytes;
}

uint32_t NumberOf(const NetEvent& event) {
  uint32_t n = 0;
  if (event.bytes.size() >= 4) std::memcpy(&n, event.bytes.data(), 4);
  return n;
}

// What one endpoint saw, with the virtual time it saw it at.
struct Seen {
  Micros at;
  NetEvent event;
};

// Polls every endpoint dry, then moves the clock on by `step`, until `until`.
void RunUntil(FakeNetwork& net, Micros until, std::vector<FakeEndpoint*> endpoints,
              std::vector<std::vector<Seen>>& seen, Micros step = 1'000) {
  seen.resize(endpoints.size());
  while (true) {
    for (size_t i = 0; i < endpoints.size(); ++i) {
      while (auto event = endpoints[i]->Poll(0)) seen[i].push_back({net.Now(), *event});
    }
    if (net.Now() >= until) return;
    net.Advance(std::min(step, until - net.Now()));
  }
}

std::vector<uint32_t> Messages(const std::vector<Seen>& seen) {
  std::vector<uint32_t> numbers;
  for (const Seen& s : seen) {
    if (s.event.kind == NetEvent::Kind::kMessage) numbers.push_back(NumberOf(s.event));
  }
  return numbers;
}

// A listener "referee" and one peer at "10.0.0.2", connected.
struct Pair {
  explicit Pair(uint64_t seed, LinkConditions link = {}) : net(seed, link) {
    referee = net.Listen("referee");
    peer = net.Connect("referee", "10.0.0.2");
    RunUntil(net, net.Now() + 1'000'000, {referee.get(), peer.get()}, seen);
  }
  FakeNetwork net;
  std::unique_ptr<FakeEndpoint> referee;
  std::unique_ptr<FakeEndpoint> peer;
  std::vector<std::vector<Seen>> seen;
};

TEST(FakeNetwork, DeliversInOrderThroughLossJitterAndReordering) {
  const LinkConditions bad{
      .latency = 15'000, .jitter = 20'000, .lossRate = 0.1, .reorderRate = 0.2};
  Pair pair(7, bad);
  ASSERT_EQ(pair.seen[0].size(), 1u);
  ASSERT_EQ(pair.seen[0][0].event.kind, NetEvent::Kind::kConnected);
  EXPECT_EQ(pair.seen[0][0].event.address, "10.0.0.2");
  ASSERT_EQ(pair.seen[1].at(0).event.kind, NetEvent::Kind::kConnected);
  const ConnectionId toPeer = pair.seen[0][0].event.connection;
  const ConnectionId toReferee = pair.seen[1][0].event.connection;
  pair.seen = {};
  // Every tenth message spans several datagrams, each lost on its own.
  std::vector<uint32_t> sent;
  for (uint32_t n = 0; n < 1000; ++n) {
    const size_t size = n % 10 == 0 ? 5000 : 40;
    ASSERT_TRUE(pair.referee->Send(toPeer, Numbered(n, size)));
    ASSERT_TRUE(pair.peer->Send(toReferee, Numbered(n, size)));
    sent.push_back(n);
    RunUntil(pair.net, pair.net.Now() + 10'000, {pair.referee.get(), pair.peer.get()}, pair.seen);
  }
  RunUntil(pair.net, pair.net.Now() + 3'000'000, {pair.referee.get(), pair.peer.get()}, pair.seen);
  EXPECT_EQ(Messages(pair.seen[1]), sent);
  EXPECT_EQ(Messages(pair.seen[0]), sent);
  for (const Seen& s : pair.seen[1])
    ASSERT_EQ(s.event.bytes.size(), NumberOf(s.event) % 10 ? 40u : 5000u);
  const TransportCounts counts = pair.referee->Counts();
  EXPECT_EQ(counts.messagesSent, 1000);
  EXPECT_EQ(counts.messagesReceived, 1000);
  // Each message's bytes, its headers and its resends: more than the payload.
  EXPECT_GT(counts.bytesSent, 100 * 5000 + 900 * 40);
}

// One-way delays of messages sent every 10 ms over links with the given
// conditions, as the receiver sees them (head-of-line waits included).
std::vector<Micros> Delays(const LinkConditions& link, Micros* roundTrip) {
  Pair pair(3, link);
  const ConnectionId toPeer = pair.seen[0].at(0).event.connection;
  pair.seen = {};
  std::vector<Micros> sentAt;
  for (uint32_t n = 0; n < 2000; ++n) {
    sentAt.push_back(pair.net.Now());
    pair.referee->Send(toPeer, Numbered(n));
    RunUntil(pair.net, pair.net.Now() + 10'000, {pair.referee.get(), pair.peer.get()}, pair.seen);
  }
  RunUntil(pair.net, pair.net.Now() + 3'000'000, {pair.referee.get(), pair.peer.get()}, pair.seen);
  std::vector<Micros> delays;
  for (const Seen& s : pair.seen[1]) delays.push_back(s.at - sentAt.at(NumberOf(s.event)));
  *roundTrip = pair.referee->RoundTrip(toPeer);
  return delays;
}

double Mean(const std::vector<Micros>& values) {
  double sum = 0;
  for (Micros v : values) sum += static_cast<double>(v);
  return values.empty() ? 0 : sum / static_cast<double>(values.size());
}

TEST(FakeNetwork, DelaysAreAsConfigured) {
  // Two links of 20 ms and up to 10 ms of jitter each: 40 ms one way plus
  // 10 ms of jitter on average (the polling step adds up to 1 ms).
  Micros roundTrip = 0;
  const std::vector<Micros> clean = Delays({.latency = 20'000, .jitter = 10'000}, &roundTrip);
  ASSERT_EQ(clean.size(), 2000u);
  EXPECT_GE(*std::min_element(clean.begin(), clean.end()), 40'000);
  EXPECT_LE(*std::max_element(clean.begin(), clean.end()), 61'000);
  EXPECT_NEAR(Mean(clean), 51'000, 3'000);
  EXPECT_NEAR(static_cast<double>(roundTrip), 100'000, 15'000);
  // A 5% loss on each link: a lost datagram is resent after a round trip and
  // more, and the dozen messages sent meanwhile wait for it, so a message is
  // on time only when none of those before it was lost (0.9^12, about 0.3).
  const std::vector<Micros> lossy =
      Delays({.latency = 20'000, .jitter = 10'000, .lossRate = 0.05}, &roundTrip);
  ASSERT_EQ(lossy.size(), 2000u);
  const auto onTime =
      std::count_if(lossy.begin(), lossy.end(), [](Micros d) { return d <= 61'000; });
  EXPECT_GT(onTime, 300);
  EXPECT_LT(onTime, 1000);
  EXPECT_GT(*std::max_element(lossy.begin(), lossy.end()), 160'000);
}

TEST(FakeNetwork, AStallDelaysThenDelivers) {
  Pair pair(5);
  const ConnectionId toPeer = pair.seen[0].at(0).event.connection;
  const ConnectionId toReferee = pair.seen[1].at(0).event.connection;
  pair.seen = {};
  const Micros start = pair.net.Now();
  pair.net.Stall(pair.peer->id(), 2'000'000);
  for (uint32_t n = 0; n < 100; ++n) {
    pair.referee->Send(toPeer, Numbered(n));
    if (n == 50) pair.peer->Send(toReferee, Numbered(n));  // waits for the stall's end
    RunUntil(pair.net, pair.net.Now() + 10'000, {pair.referee.get(), pair.peer.get()}, pair.seen);
  }
  EXPECT_TRUE(pair.seen[1].empty());
  EXPECT_TRUE(pair.seen[0].empty());
  EXPECT_EQ(pair.net.NextEventTime(), start + 2'000'000);
  RunUntil(pair.net, start + 3'000'000, {pair.referee.get(), pair.peer.get()}, pair.seen);
  ASSERT_EQ(Messages(pair.seen[1]).size(), 100u);
  EXPECT_EQ(pair.seen[1].front().at, start + 2'000'000);
  EXPECT_EQ(Messages(pair.seen[1]).back(), 99u);
  ASSERT_EQ(Messages(pair.seen[0]), std::vector<uint32_t>{50});
  EXPECT_GE(pair.seen[0][0].at, start + 2'020'000);
}

TEST(FakeNetwork, DropsLongStallsAndGoodbyesEndConnections) {
  // A dropped peer: the referee hears after the timeout, and no sooner.
  {
    Pair pair(9);
    const ConnectionId toPeer = pair.seen[0].at(0).event.connection;
    pair.seen = {};
    const Micros start = pair.net.Now();
    pair.peer.reset();
    RunUntil(pair.net, start + 10'000'000, {pair.referee.get()}, pair.seen);
    ASSERT_EQ(pair.seen[0].size(), 1u);
    EXPECT_EQ(pair.seen[0][0].event.kind, NetEvent::Kind::kDisconnected);
    EXPECT_EQ(pair.seen[0][0].event.connection, toPeer);
    EXPECT_EQ(pair.seen[0][0].at, start + kFakeDisconnectTimeout);
    EXPECT_FALSE(pair.referee->Send(toPeer, Numbered(1)));
  }
  // A stall past the timeout: both ends give up, the stalled one once awake.
  {
    Pair pair(9);
    const Micros start = pair.net.Now();
    pair.net.Stall(pair.peer->id(), 8'000'000);
    RunUntil(pair.net, start + 20'000'000, {pair.referee.get(), pair.peer.get()}, pair.seen);
    ASSERT_EQ(pair.seen[0].size(), 2u);
    EXPECT_EQ(pair.seen[0][1].event.kind, NetEvent::Kind::kDisconnected);
    EXPECT_EQ(pair.seen[0][1].at, start + kFakeDisconnectTimeout);
    ASSERT_EQ(pair.seen[1].size(), 2u);
    EXPECT_EQ(pair.seen[1][1].event.kind, NetEvent::Kind::kDisconnected);
    EXPECT_EQ(pair.seen[1][1].at, start + 8'000'000 + kFakeDisconnectTimeout);
  }
  // A goodbye: what was sent before it arrives, then kDisconnected.
  {
    Pair pair(9);
    const ConnectionId toReferee = pair.seen[1].at(0).event.connection;
    pair.seen = {};
    for (uint32_t n = 0; n < 3; ++n) pair.peer->Send(toReferee, Numbered(n));
    pair.peer->Disconnect(toReferee);
    EXPECT_FALSE(pair.peer->Send(toReferee, Numbered(3)));
    RunUntil(pair.net, pair.net.Now() + 1'000'000, {pair.referee.get(), pair.peer.get()},
             pair.seen);
    EXPECT_EQ(Messages(pair.seen[0]), (std::vector<uint32_t>{0, 1, 2}));
    ASSERT_EQ(pair.seen[0].size(), 4u);
    EXPECT_EQ(pair.seen[0][3].event.kind, NetEvent::Kind::kDisconnected);
    EXPECT_TRUE(pair.seen[1].empty());
  }
}

TEST(FakeNetwork, RejoinsUnderTheSameAddressAndRefusesWhatItMust) {
  Pair pair(11);
  const ConnectionId first = pair.seen[0].at(0).event.connection;
  pair.seen = {};
  pair.peer.reset();
  auto again = pair.net.Connect("referee", "10.0.0.2");
  RunUntil(pair.net, pair.net.Now() + 6'000'000, {pair.referee.get(), again.get()}, pair.seen);
  ASSERT_EQ(pair.seen[0].size(), 2u);  // the new connection, then the old one's end
  EXPECT_EQ(pair.seen[0][0].event.kind, NetEvent::Kind::kConnected);
  EXPECT_EQ(pair.seen[0][0].event.address, "10.0.0.2");
  const ConnectionId second = pair.seen[0][0].event.connection;
  EXPECT_NE(second, first);
  EXPECT_EQ(pair.seen[0][1].event.connection, first);
  // Oversize is refused; the largest message goes whole.
  EXPECT_FALSE(pair.referee->Send(second, std::vector<uint8_t>(kMaxMessageBytes + 1)));
  EXPECT_TRUE(pair.referee->Send(second, Numbered(77, kMaxMessageBytes)));
  pair.seen = {};
  RunUntil(pair.net, pair.net.Now() + 1'000'000, {pair.referee.get(), again.get()}, pair.seen);
  ASSERT_EQ(pair.seen[1].size(), 1u);
  EXPECT_EQ(pair.seen[1][0].event.bytes, Numbered(77, kMaxMessageBytes));
  // One listener a name; a connect to nobody ends after its timeout.
  EXPECT_EQ(pair.net.Listen("referee"), nullptr);
  const Micros start = pair.net.Now();
  auto lost = pair.net.Connect("nobody", "10.0.0.3", 2'000'000);
  pair.seen = {};
  RunUntil(pair.net, start + 3'000'000, {lost.get()}, pair.seen);
  ASSERT_EQ(pair.seen[0].size(), 1u);
  EXPECT_EQ(pair.seen[0][0].event.kind, NetEvent::Kind::kDisconnected);
  EXPECT_EQ(pair.seen[0][0].at, start + 2'000'000);
}

// Everything a referee and two peers saw on a lossy network, as text.
std::string Trace(uint64_t seed) {
  FakeNetwork net(seed, {.latency = 10'000, .jitter = 30'000, .lossRate = 0.2, .reorderRate = 0.3});
  auto referee = net.Listen("referee");
  auto a = net.Connect("referee", "a");
  auto b = net.Connect("referee", "b");
  std::vector<std::vector<Seen>> seen;
  for (uint32_t n = 0; n < 300; ++n) {
    for (ConnectionId c = 1; c <= 2; ++c) referee->Send(c, Numbered(n));
    a->Send(1, Numbered(n));
    if (n == 100) net.Stall(b->id(), 1'000'000);
    RunUntil(net, net.Now() + 10'000, {referee.get(), a.get(), b.get()}, seen);
  }
  std::string text;
  for (size_t i = 0; i < seen.size(); ++i) {
    for (const Seen& s : seen[i]) {
      text += std::to_string(i) + " " + std::to_string(s.at) + " " +
              std::to_string(static_cast<int>(s.event.kind)) + " " +
              std::to_string(s.event.connection) + " " + std::to_string(NumberOf(s.event)) + "\n";
    }
  }
  return text + std::to_string(referee->Counts().bytesSent);
}

TEST(FakeNetwork, OneSeedOneRun) {
  const std::string first = Trace(42);
  EXPECT_EQ(first, Trace(42));
  EXPECT_NE(first, Trace(43));
}

}  // namespace
}  // namespace kragmoor::net
