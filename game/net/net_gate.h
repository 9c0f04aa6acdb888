// The referee's per-address bounds as serve and the hosting window lend
// them: an adapter from the referee's AddressGate to AddressLimits. No Qt.
#pragma once

#include <string>

#include "game/net/address_limits.h"
#include "game/net/referee.h"

namespace kragmoor {

class NetGate final : public net::AddressGate {
 public:
  bool Connect(net::ConnectionId id, const std::string& address, net::Micros now) override {
    return limits_.Admit(id, address, now) == net::LimitVerdict::kAllowed;
  }
  void Disconnect(net::ConnectionId id) override { limits_.Forget(id); }
  bool Message(net::ConnectionId id, net::Micros now) override {
    return limits_.Message(id, now) == net::LimitVerdict::kAllowed;
  }

 private:
  net::AddressLimits limits_;
};

}  // namespace kragmoor
