// The fake network of the tests: endpoints in one process on one virtual
// clock, with seeded latency, jitter, loss and reordering per endpoint, and
// endpoints that stall, drop and come back. No sockets, no real time.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "game/net/transport.h"

namespace kragmoor::net {

// What one endpoint's link to the network does to every datagram it sends or
// receives. A connection between two endpoints goes through both their links:
// latencies and jitters add up, losses and reorderings combine.
struct LinkConditions {
  Micros latency = 10'000;  // one way, microseconds
  Micros jitter = 0;        // extra one-way delay drawn uniformly from 0 to this, microseconds
  double lossRate = 0;      // chance that a datagram is lost (then resent), 0 to 1
  double reorderRate = 0;   // chance that a datagram is held back by up to one more
                            // latency, so that later ones overtake it, 0 to 1
};

// How long a silent peer keeps its connection: the other end's kDisconnected
// comes this long after an endpoint dropped, or stalled for longer than this
// (as ENet gives up on a peer that stops acknowledging: see enet_transport.h).
inline constexpr Micros kFakeDisconnectTimeout = 5'000'000;  // microseconds

// Handles for the network's controls; one per endpoint, never reused.
using EndpointId = int32_t;

struct FakeNetworkState;

// One endpoint: a Transport on the network's clock. Destroying it drops it.
class FakeEndpoint : public Transport {
 public:
  FakeEndpoint(std::shared_ptr<FakeNetworkState> state, EndpointId id);
  ~FakeEndpoint() override;
  FakeEndpoint(const FakeEndpoint&) = delete;
  FakeEndpoint& operator=(const FakeEndpoint&) = delete;

  EndpointId id() const { return id_; }

  // The messages go out whole, in order, as the reliable channel of ENet
  // does: a lost datagram is resent after about a round trip, and what was
  // sent after it waits for it. Messages over ENet's fragment size travel as
  // several datagrams, each lost or late on its own.
  bool Send(ConnectionId connection, std::span<const uint8_t> bytes) override;
  // Only what is due at the network's current time; `waitMicros` is ignored
  // (the clock moves only by FakeNetwork::Advance). A stalled endpoint sees
  // nothing until its stall ends.
  std::optional<NetEvent> Poll(Micros waitMicros) override;
  // The messages already sent still arrive; the other end's kDisconnected
  // follows them. This end sees no more events for `connection`.
  void Disconnect(ConnectionId connection) override;
  Micros Now() const override;
  // A smoothed average of the round trips its datagrams took, as ENet keeps one.
  Micros RoundTrip(ConnectionId connection) const override;
  // Bytes as on the wire: each datagram with ENet-like headers and checksum,
  // resends included, and the acknowledgements each way.
  TransportCounts Counts() const override;

 private:
  std::shared_ptr<FakeNetworkState> state_;
  EndpointId id_;
};

class FakeNetwork {
 public:
  // Every random draw (delays, losses) comes from `seed`: one seed, one run.
  explicit FakeNetwork(uint64_t seed, LinkConditions defaults = {});
  ~FakeNetwork();
  FakeNetwork(const FakeNetwork&) = delete;
  FakeNetwork& operator=(const FakeNetwork&) = delete;

  // An endpoint that takes connections under `name` (which connectors name
  // and which is the address they see), or nullptr while a live endpoint
  // listens under that name already.
  std::unique_ptr<FakeEndpoint> Listen(const std::string& name);
  // An endpoint at host `address` that connects to the listener `name`:
  // its first event is kConnected after a round trip, or kDisconnected when
  // nobody listens there within `timeout`. Several endpoints may share an
  // address, and a new one may take the address of one that dropped.
  std::unique_ptr<FakeEndpoint> Connect(const std::string& name, const std::string& address,
                                        Micros timeout = 5'000'000);

  // The link of one endpoint from now on (datagrams already sent keep theirs).
  void SetConditions(EndpointId endpoint, const LinkConditions& conditions);
  // For `duration` from now the endpoint neither sends nor receives, as a
  // frozen process: what it sends waits, what comes for it piles up, and all
  // of it goes on when the stall ends. A stall over kFakeDisconnectTimeout
  // ends every connection it has, on both ends.
  void Stall(EndpointId endpoint, Micros duration);
  // The endpoint is gone without a word (a crash, a pulled cable): its peers
  // see kDisconnected after kFakeDisconnectTimeout; it sees nothing more.
  void Drop(EndpointId endpoint);

  Micros Now() const;
  // Moves the clock on by `micros` (at least 0).
  void Advance(Micros micros);
  // The earliest time after Now() at which some endpoint has an event due,
  // so that a driver may jump there; none when nothing is under way.
  std::optional<Micros> NextEventTime() const;

 private:
  std::shared_ptr<FakeNetworkState> state_;
};

}  // namespace kragmoor::net
