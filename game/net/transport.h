// The seam between network play and the network: connections that carry
// whole messages reliably and in order, an event queue and a clock. ENet is
// one implementation (game/platform/enet_transport.h), the fake network of
// the tests another (game/net/fake_network.h), on a virtual clock. No Qt.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kragmoor::net {

// One connection of an endpoint, never reused while the endpoint lives.
using ConnectionId = uint32_t;
// Microseconds on the endpoint's clock: monotonic, from an arbitrary start.
using Micros = int64_t;

// The largest message either side sends or accepts; anything longer ends
// the connection that sent it.
constexpr size_t kMaxMessageBytes = 64 * 1024;

struct NetEvent {
  enum class Kind {
    kConnected,     // a peer connected to a listening endpoint, or a connect succeeded
    kMessage,       // one whole message arrived on `connection`
    kDisconnected,  // the connection is gone: closed, timed out or refused
  };
  Kind kind = Kind::kMessage;
  ConnectionId connection = 0;
  std::string address;         // the other end's host (no port), for per-address bounds
  std::vector<uint8_t> bytes;  // kMessage: the message, at most kMaxMessageBytes
  std::string reason;          // kDisconnected: why, in a few words, when the transport knows
};

// What an endpoint counts, for the measurements.
struct TransportCounts {
  int64_t bytesSent = 0;
  int64_t bytesReceived = 0;
  int64_t messagesSent = 0;
  int64_t messagesReceived = 0;
};

class Transport {
 public:
  virtual ~Transport() = default;

  // Queues one message on `connection`, delivered whole, reliably and in
  // the order sent. False (nothing sent) for a connection that is gone or
  // a message over kMaxMessageBytes.
  virtual bool Send(ConnectionId connection, std::span<const uint8_t> bytes) = 0;
  // The next event, waiting at most `waitMicros` for one (0: only what has
  // already arrived). The fake network never blocks: its clock moves only
  // when the test moves it.
  virtual std::optional<NetEvent> Poll(Micros waitMicros) = 0;
  // Closes `connection` (its queued messages are still sent when the
  // implementation can); a kDisconnected event follows on the other end.
  virtual void Disconnect(ConnectionId connection) = 0;
  // This endpoint's clock.
  virtual Micros Now() const = 0;
  // The round-trip time the transport measures on `connection`, or 0.
  virtual Micros RoundTrip(ConnectionId connection) const = 0;
  virtual TransportCounts Counts() const = 0;
};

}  // namespace kragmoor::net
