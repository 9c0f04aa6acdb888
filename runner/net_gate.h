// The referee's per-address bounds as serve lends them: connections at once
// and messages a second from one host. No Qt.
#pragma once

#include <map>
#include <string>

#include "game/net/referee.h"

namespace kragmoor {

class NetGate final : public net::AddressGate {
 public:
  static constexpr int kMaxConnections = 4;        // from one host at once
  static constexpr int kMaxMessagesASecond = 500;  // a peer sends about 30

  bool Connect(const std::string& address, net::Micros) override {
    int& open = open_[address];
    if (open >= kMaxConnections) return false;
    ++open;
    return true;
  }
  void Disconnect(const std::string& address) override {
    const auto it = open_.find(address);
    if (it != open_.end() && --it->second <= 0) {
      open_.erase(it);
      rates_.erase(address);
    }
  }
  bool Message(const std::string& address, net::Micros now) override {
    Window& w = rates_[address];
    if (now - w.start >= 1'000'000) w = Window{now, 0};
    return ++w.count <= kMaxMessagesASecond;
  }

 private:
  struct Window {
    net::Micros start = 0;
    int count = 0;
  };
  std::map<std::string, int> open_;
  std::map<std::string, Window> rates_;
};

}  // namespace kragmoor
