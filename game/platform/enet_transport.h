// The Transport of network play over UDP with ENet: one reliable sequenced
// channel, CRC32 on every datagram, messages bounded at kMaxMessageBytes on
// both sides. The only game code that includes ENet.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "game/net/transport.h"

namespace kragmoor::net {

// How long ENet keeps a peer that stops acknowledging: at least the minimum,
// once its resends have backed off to ENet's limit, and never past the
// maximum (ENet's defaults are 5 s and 30 s).
inline constexpr uint32_t kEnetTimeoutMinimumMs = 5'000;
inline constexpr uint32_t kEnetTimeoutMaximumMs = 10'000;
// A received message over kMaxMessageBytes ends its connection at once
// (kDisconnected, reason "message over the size limit") when it is at most
// four times that; ENet refuses the fragments of a longer one, so nothing
// after it arrives on that connection until the silence ends it. What one
// peer may make ENet hold is bounded (about 1.3 MiB).
// ENet's own bound on peers of one host.
inline constexpr size_t kEnetMaxConnections = 4095;

struct EnetListenOptions {
  std::string bind;            // host name or IPv4 address to listen on; empty: all interfaces
  uint16_t port = 0;           // UDP port; 0: any free port
  size_t maxConnections = 16;  // connections at once, 1 to kEnetMaxConnections; more get no answer
  size_t maxPerAddress = 4;    // connections at once from one host (ENet's duplicatePeers)
};

// A transport that takes connections, and the port it listens on in
// `*boundPort`; nullptr with `*error` saying why when the address does not
// resolve or the port cannot be had.
std::unique_ptr<Transport> ListenEnet(const EnetListenOptions& options, uint16_t* boundPort,
                                      std::string* error);

// A transport with one connection under way to `host`:`port`. Its first
// event is kConnected, or kDisconnected (reason "no answer from HOST:PORT")
// once `timeout` has passed without one; it never blocks. nullptr with
// `*error` when the host does not resolve.
std::unique_ptr<Transport> ConnectEnet(const std::string& host, uint16_t port, Micros timeout,
                                       std::string* error);

}  // namespace kragmoor::net
