// kragmoor_net_bench: network play on the fake network, measured on its
// virtual clock. Order latency (a peer's order to the frame it runs in) at
// 50 ms round trip with jitter and loss and on a loopback-like link, the
// longest stall a peer sees in ten simulated minutes, the bytes a second
// each way per peer, the referee's CPU per simulated second, and a rejoin
// into a 60,000-frame match. Not a test: the figures go in the README.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "game/net/fake_network.h"
#include "game/net/peer.h"
#include "game/net/referee.h"

namespace kragmoor::net {
namespace {

constexpr Micros kStep = 1'000;          // the drivers' step on the virtual clock
constexpr Micros kOrderEvery = 100'000;  // a peer's orders: ten a second
constexpr const char* kCodes[] = {"bench-code-one", "bench-code-two"};

double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// A referee with two player seats and the computer player, two peers, and
// peer 1 ordering its first peasant ten times a second.
struct Match {
  Match(const LinkConditions& link, int32_t frames)
      : net(11, link), listener(net.Listen("referee")) {
    RefereeOptions options;
    options.frames = frames;
    options.seed = 5;
    std::array<RefereeSeat, kSideCount> seats;
    seats[0] = {RefereeSeat::Kind::kPlayer, 3, "", kCodes[0]};
    seats[1] = {RefereeSeat::Kind::kPlayer, 3, "", kCodes[1]};
    seats[2] = {RefereeSeat::Kind::kAi, 3, "", ""};
    referee = std::make_unique<Referee>(*listener, options, seats);
    for (int p = 0; p < 2; ++p) Join(p);
  }

  Peer& Join(int seat) {
    ends[seat] = net.Connect("referee", "10.0.0." + std::to_string(seat + 1 + 10 * rejoins));
    peers[seat] = std::make_unique<Peer>(*ends[seat], PeerOptions{kCodes[seat], false, ""});
    Peer& peer = *peers[seat];
    if (seat == 0) {
      peer.onApplied = [this](int) {
        if (sent.empty()) return;
        latencies.push_back(net.Now() - sent.front());
        sent.pop_front();
      };
      peer.onFrame = [this](int64_t, const std::vector<std::string>&) {
        if (lastFrameAt > 0) longestGap = std::max(longestGap, net.Now() - lastFrameAt);
        lastFrameAt = net.Now();
      };
    }
    return peer;
  }

  void Step() {
    net.Advance(kStep);
    const double before = ThreadCpuSeconds();
    referee->Advance();
    refereeCpu += ThreadCpuSeconds() - before;
    for (auto& peer : peers) peer->Advance();
    Peer& one = *peers[0];
    if (one.state() == Peer::State::kPlaying && net.Now() >= nextOrder) {
      nextOrder = net.Now() + kOrderEvery;
      const World& world = one.session().world;
      for (int s = 0; s < kSlotCount; ++s) {
        const Tigrok& t = world.entities[s];
        if (!IsLive(t) || t.owner != 0 || t.kind != kKindPeasant) continue;
        const int x = 100 + static_cast<int>((net.Now() / kOrderEvery) % 8) * 50;
        one.SendOrders({{s, "idti " + std::to_string(x) + ",300"}});
        sent.push_back(net.Now());
        break;
      }
    }
  }
  void RunUntilOver() {
    while (!referee->over()) Step();
  }

  FakeNetwork net;
  std::unique_ptr<FakeEndpoint> listener;
  std::unique_ptr<Referee> referee;
  std::array<std::unique_ptr<FakeEndpoint>, 2> ends;
  std::array<std::unique_ptr<Peer>, 2> peers;
  std::deque<Micros> sent;
  std::vector<Micros> latencies;
  Micros nextOrder = 0;
  Micros lastFrameAt = 0;
  Micros longestGap = 0;
  double refereeCpu = 0;
  int rejoins = 0;
};

double Quantile(std::vector<Micros> values, double q) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto at = static_cast<size_t>(q * static_cast<double>(values.size() - 1));
  return static_cast<double>(values[at]) / 1000.0;
}

// Each link 7.5 ms one way plus 0 to 10 ms, 0.5 % of datagrams lost: a
// connection crosses two links, so 50 ms round trip on average, +-20 ms,
// about 1 % lost.
const LinkConditions kInternet{7'500, 10'000, 0.005, 0.0};
const LinkConditions kLoopback{50, 0, 0.0, 0.0};

void Report(benchmark::State& state, const Match& m, Micros simulated) {
  state.counters["latency_median_ms"] = Quantile(m.latencies, 0.5);
  state.counters["latency_p99_ms"] = Quantile(m.latencies, 0.99);
  state.counters["longest_stall_ms"] = static_cast<double>(m.longestGap) / 1000.0;
  const double seconds = static_cast<double>(simulated) / 1e6;
  const TransportCounts c = m.ends[0]->Counts();
  state.counters["peer_up_B/s"] = static_cast<double>(c.bytesSent) / seconds;
  state.counters["peer_down_B/s"] = static_cast<double>(c.bytesReceived) / seconds;
  state.counters["referee_cpu_%"] = 100.0 * m.refereeCpu / seconds;
}

// Ten simulated minutes at 50 ms round trip with jitter and loss.
void BM_TenMinutesInternet(benchmark::State& state) {
  for (auto _ : state) {
    Match m(kInternet, 60'000);
    const Micros start = m.net.Now();
    m.RunUntilOver();
    Report(state, m, m.net.Now() - start);
  }
}
BENCHMARK(BM_TenMinutesInternet)->Iterations(1)->Unit(benchmark::kMillisecond);

// One simulated minute on a loopback-like link.
void BM_OneMinuteLoopback(benchmark::State& state) {
  for (auto _ : state) {
    Match m(kLoopback, 6'000);
    const Micros start = m.net.Now();
    m.RunUntilOver();
    Report(state, m, m.net.Now() - start);
  }
}
BENCHMARK(BM_OneMinuteLoopback)->Iterations(1)->Unit(benchmark::kMillisecond);

// A peer gone at frame 60,000 joins again: virtual time from its new
// connection until it runs frames with its seat its own again, the frames
// the referee closed meanwhile (the others never wait), and the real time
// the joiner spent taking the state and catching up.
void BM_RejoinAt60000(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    Match m(kInternet, 100'000);
    while (m.referee->frames() < 60'000) m.Step();
    m.net.Drop(m.ends[0]->id());
    const Micros dropAt = m.net.Now();
    while (m.net.Now() - dropAt < 6'000'000) m.Step();
    state.ResumeTiming();
    ++m.rejoins;
    const Micros joinAt = m.net.Now();
    const int64_t framesAt = m.referee->frames();
    Peer& again = m.Join(0);
    double cpu = 0;
    while (again.state() != Peer::State::kPlaying || m.referee->session().computerPlayer[0]) {
      m.net.Advance(kStep);
      m.referee->Advance();
      const double before = ThreadCpuSeconds();
      again.Advance();
      cpu += ThreadCpuSeconds() - before;
      m.peers[1]->Advance();
    }
    state.counters["back_in_control_ms"] = static_cast<double>(m.net.Now() - joinAt) / 1000.0;
    state.counters["frames_closed_meanwhile"] = static_cast<double>(m.referee->frames() - framesAt);
    state.counters["joiner_cpu_ms"] = cpu * 1000.0;
  }
}
BENCHMARK(BM_RejoinAt60000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kragmoor::net

BENCHMARK_MAIN();
