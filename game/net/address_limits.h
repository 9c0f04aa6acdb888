// Per-address bounds for whoever takes connections: how many connections one
// host may hold, and how many messages a second a connection and a host may
// send (token buckets). Driven by the caller's clock; no I/O.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "game/net/transport.h"

namespace kragmoor::net {

struct AddressBounds {
  int maxConnectionsPerAddress = 4;  // connections at once from one host
  int64_t connectionRate = 200;      // messages a second one connection may keep up
  int64_t connectionBurst = 400;     // messages one connection may send at once after a rest
  int64_t addressRate = 400;         // messages a second all of one host's connections may keep up
  int64_t addressBurst = 800;        // the same host's messages at once after a rest
};

enum class LimitVerdict {
  kAllowed,
  kRefuse,    // a connection: that host holds its most already
  kOverRate,  // a message: over its connection's or its host's rate
};

class AddressLimits {
 public:
  explicit AddressLimits(const AddressBounds& bounds = {});

  // A new connection from host `address` at `now`: kAllowed (and counted
  // until Forget) or kRefuse. A host that comes back finds its rate as it
  // left it, so reconnecting is no way round the rate.
  LimitVerdict Admit(ConnectionId connection, const std::string& address, Micros now);
  // The connection is gone (unknown ones are ignored).
  void Forget(ConnectionId connection);
  // One message on an admitted connection at `now`: kAllowed (it uses one
  // token of its connection's and its host's buckets) or kOverRate (it uses
  // none). Unknown connections are kRefuse.
  LimitVerdict Message(ConnectionId connection, Micros now);

  // Connections held by `address`, for the tests and the referee's status.
  int ConnectionsOf(const std::string& address) const;

 private:
  // Tokens in millionths of a message, so that a rate in messages a second
  // refills exactly one unit a microsecond for each message of the rate.
  struct Bucket {
    int64_t units = 0;
    Micros last = 0;
  };
  struct Host {
    int connections = 0;
    Bucket bucket;
  };
  struct Connection {
    std::string address;
    Bucket bucket;
  };
  static void Refill(Bucket& bucket, int64_t rate, int64_t burst, Micros now);

  AddressBounds bounds_;
  std::map<std::string, Host> hosts_;
  std::map<ConnectionId, Connection> connections_;
};

}  // namespace kragmoor::net
