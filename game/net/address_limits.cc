// Per-address bounds: connection counts per host and two token buckets per
// message (its connection's, its host's), in whole integer units.
#include "game/net/address_limits.h"

#include <algorithm>

namespace kragmoor::net {
namespace {

constexpr int64_t kUnitsPerMessage = 1'000'000;

}  // namespace

AddressLimits::AddressLimits(const AddressBounds& bounds) : bounds_(bounds) {}

void AddressLimits::Refill(Bucket& bucket, int64_t rate, int64_t burst, Micros now) {
  const int64_t full = std::max<int64_t>(0, burst) * kUnitsPerMessage;
  const Micros elapsed = std::max<Micros>(0, now - bucket.last);
  bucket.last = std::max(bucket.last, now);
  // Past a full bucket's worth of time the product could only overflow.
  const int64_t r = std::max<int64_t>(1, rate);
  if (elapsed >= full / r + 1) {
    bucket.units = full;
  } else {
    bucket.units = std::min(full, bucket.units + elapsed * r);
  }
}

LimitVerdict AddressLimits::Admit(ConnectionId connection, const std::string& address, Micros now) {
  // Hosts with no connection left are forgotten once their bucket is full
  // again: only then is a fresh start the same as theirs.
  for (auto it = hosts_.begin(); it != hosts_.end();) {
    Host& host = it->second;
    if (host.connections == 0 && it->first != address) {
      Refill(host.bucket, bounds_.addressRate, bounds_.addressBurst, now);
      if (host.bucket.units == bounds_.addressBurst * kUnitsPerMessage) {
        it = hosts_.erase(it);
        continue;
      }
    }
    ++it;
  }
  if (connections_.count(connection) != 0) return LimitVerdict::kRefuse;
  auto [it, added] = hosts_.try_emplace(address);
  Host& host = it->second;
  if (added) host.bucket = Bucket{bounds_.addressBurst * kUnitsPerMessage, now};
  if (host.connections >= bounds_.maxConnectionsPerAddress) return LimitVerdict::kRefuse;
  host.connections++;
  connections_[connection] =
      Connection{address, Bucket{bounds_.connectionBurst * kUnitsPerMessage, now}};
  return LimitVerdict::kAllowed;
}

void AddressLimits::Forget(ConnectionId connection) {
  const auto it = connections_.find(connection);
  if (it == connections_.end()) return;
  hosts_[it->second.address].connections--;
  connections_.erase(it);
}

LimitVerdict AddressLimits::Message(ConnectionId connection, Micros now) {
  const auto it = connections_.find(connection);
  if (it == connections_.end()) return LimitVerdict::kRefuse;
  Bucket& mine = it->second.bucket;
  Bucket& host = hosts_[it->second.address].bucket;
  Refill(mine, bounds_.connectionRate, bounds_.connectionBurst, now);
  Refill(host, bounds_.addressRate, bounds_.addressBurst, now);
  if (mine.units < kUnitsPerMessage || host.units < kUnitsPerMessage)
    return LimitVerdict::kOverRate;
  mine.units -= kUnitsPerMessage;
  host.units -= kUnitsPerMessage;
  return LimitVerdict::kAllowed;
}

int AddressLimits::ConnectionsOf(const std::string& address) const {
  const auto it = hosts_.find(address);
  return it == hosts_.end() ? 0 : it->second.connections;
}

}  // namespace kragmoor::net
