// The fake network: every endpoint's events in one table on one virtual
// clock. A message's arrival is drawn when it is sent (its datagrams, their
// losses and resends), so that a run depends only on the seed and the calls.
#include "game/net/fake_network.h"

#include <algorithm>
#include <limits>
#include <map>
#include <utility>
#include <vector>

namespace kragmoor::net {
namespace {

constexpr Micros kNever = std::numeric_limits<Micros>::max();
// ENet's shape of the wire, so that the counts read as ENet's would: a
// message travels in fragments of at most this many bytes (ENet's default
// MTU of 1400 less its headers), each in a datagram of its own.
constexpr size_t kFragmentBytes = 1372;
constexpr int64_t kDatagramHeaderBytes = 8;  // peer id, sent time and the CRC32 checksum
constexpr int64_t kSendCommandBytes = 6;     // a whole message's command header
constexpr int64_t kFragmentCommandBytes = 24;
constexpr int64_t kAckDatagramBytes = 16;  // header and one acknowledgement, sent back
// The shortest resend timeout, as ENet never resends sooner than its timer allows.
constexpr Micros kMinResend = 1'000;  // microseconds

// SplitMix64: small, fast and the same on every build.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }
  double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }  // [0, 1)
  // 0 to `most`, both included.
  Micros UpTo(Micros most) {
    return most <= 0 ? 0 : static_cast<Micros>(Next() % static_cast<uint64_t>(most + 1));
  }

 private:
  uint64_t state_;
};

// One endpoint's end of a connection.
struct End {
  EndpointId peer = -1;  // -1: nobody answered the connect
  ConnectionId peerConnection = 0;
  Micros establishedAt = 0;  // Send refuses before this (the handshake)
  Micros lastDue = 0;        // when the last message sent here is due at the other end
  Micros goneAt = kNever;    // Send refuses from this time on
  bool closed = false;       // closed here, or its kDisconnected polled: no more events
  bool told = false;         // its kDisconnected is queued
  Micros roundTrip = 0;
};

struct Endpoint {
  std::string address;  // the host its peers see: a listener's name, a connector's address
  bool listener = false;
  bool gone = false;
  LinkConditions link;
  Micros stallFrom = 0;
  Micros stallUntil = 0;
  ConnectionId nextConnection = 1;
  std::map<std::pair<Micros, uint64_t>, NetEvent> inbox;  // by due time, then order queued
  std::map<ConnectionId, End> ends;
  TransportCounts counts;
};

}  // namespace

struct FakeNetworkState {
  explicit FakeNetworkState(uint64_t seed) : random(seed) {}

  Random random;
  LinkConditions defaults;
  Micros now = 0;
  uint64_t nextOrder = 0;
  std::vector<Endpoint> endpoints;  // by EndpointId

  // When an endpoint gets to act on what is due at `t`: after its stall.
  Micros ReadyAt(EndpointId id, Micros t) const {
    const Endpoint& e = endpoints[id];
    return t >= e.stallFrom && t < e.stallUntil ? e.stallUntil : t;
  }

  void Queue(EndpointId id, Micros due, NetEvent event) {
    endpoints[id].inbox.emplace(std::make_pair(due, nextOrder++), std::move(event));
  }

  // One crossing from `from` to `to` that is not lost: both links' delays.
  Micros Transit(EndpointId from, EndpointId to) {
    const LinkConditions& a = endpoints[from].link;
    const LinkConditions& b = endpoints[to].link;
    const Micros latency = a.latency + b.latency;
    Micros delay = latency + random.UpTo(a.jitter) + random.UpTo(b.jitter);
    const double reorder = 1 - (1 - a.reorderRate) * (1 - b.reorderRate);
    if (random.Unit() < reorder) delay += random.UpTo(latency);
    return delay;
  }

  // One datagram of `bytes` sent at `t` until it gets through: its arrival,
  // or none when the resends went on past the disconnect timeout. Counts
  // each try on the sender and the acknowledgement that comes back.
  std::optional<Micros> Datagram(EndpointId from, EndpointId to, Micros t, int64_t bytes) {
    const LinkConditions& a = endpoints[from].link;
    const LinkConditions& b = endpoints[to].link;
    const double loss = 1 - (1 - a.lossRate) * (1 - b.lossRate);
    Micros resend = std::max(kMinResend, 2 * (a.latency + b.latency + a.jitter + b.jitter));
    for (Micros sent = t; sent - t <= kFakeDisconnectTimeout; sent += resend, resend *= 2) {
      endpoints[from].counts.bytesSent += bytes;
      if (random.Unit() < loss) continue;
      endpoints[to].counts.bytesReceived += bytes;
      endpoints[to].counts.bytesSent += kAckDatagramBytes;
      endpoints[from].counts.bytesReceived += kAckDatagramBytes;
      return sent + Transit(from, to);
    }
    return std::nullopt;
  }

  // Folds one round trip into the end's smoothed average, as ENet does.
  void SampleRoundTrip(End& end, EndpointId self) {
    if (end.peer < 0) return;
    const Micros sample = Transit(self, end.peer) + Transit(end.peer, self);
    end.roundTrip = end.roundTrip == 0 ? sample : end.roundTrip + (sample - end.roundTrip) / 8;
  }

  // Queues the kDisconnected of `id`'s end `connection`, due at `at`, once.
  void TellGone(EndpointId id, ConnectionId connection, Micros at, const char* reason) {
    Endpoint& e = endpoints[id];
    auto it = e.ends.find(connection);
    if (e.gone || it == e.ends.end() || it->second.closed || it->second.told) return;
    it->second.told = true;
    it->second.goneAt = std::min(it->second.goneAt, at);
    Queue(id, at,
          NetEvent{NetEvent::Kind::kDisconnected, connection, PeerAddress(it->second), {}, reason});
  }

  // Ends both sides of `id`'s connection as a timeout does: the other end
  // is told at `peerAt`, this one at `selfAt`.
  void Break(EndpointId id, ConnectionId connection, Micros peerAt, Micros selfAt) {
    const End& end = endpoints[id].ends[connection];
    if (end.peer >= 0) TellGone(end.peer, end.peerConnection, peerAt, "timed out");
    TellGone(id, connection, selfAt, "timed out");
  }

  std::string PeerAddress(const End& end) const {
    return end.peer < 0 ? std::string() : endpoints[end.peer].address;
  }

  // Gone without a word: its peers are told after the timeout.
  void Drop(EndpointId id) {
    Endpoint& e = endpoints.at(id);
    if (e.gone) return;
    for (auto& [connection, end] : e.ends) {
      if (!end.closed && end.peer >= 0) {
        TellGone(end.peer, end.peerConnection, now + kFakeDisconnectTimeout, "timed out");
      }
    }
    e.gone = true;
    e.inbox.clear();
  }

  EndpointId Add(const std::string& address, bool listener) {
    Endpoint e;
    e.address = address;
    e.listener = listener;
    e.link = defaults;
    endpoints.push_back(std::move(e));
    return static_cast<EndpointId>(endpoints.size() - 1);
  }
};

FakeEndpoint::FakeEndpoint(std::shared_ptr<FakeNetworkState> state, EndpointId id)
    : state_(std::move(state)), id_(id) {}

FakeEndpoint::~FakeEndpoint() { state_->Drop(id_); }

bool FakeEndpoint::Send(ConnectionId connection, std::span<const uint8_t> bytes) {
  FakeNetworkState& s = *state_;
  Endpoint& self = s.endpoints[id_];
  auto it = self.ends.find(connection);
  if (self.gone || bytes.size() > kMaxMessageBytes || it == self.ends.end()) return false;
  End& end = it->second;
  if (end.closed || end.peer < 0 || s.now < end.establishedAt || s.now >= end.goneAt) return false;
  self.counts.messagesSent++;
  const Micros departure = s.ReadyAt(id_, s.now);
  const size_t fragments =
      std::max<size_t>(1, (bytes.size() + kFragmentBytes - 1) / kFragmentBytes);
  const int64_t command = fragments == 1 ? kSendCommandBytes : kFragmentCommandBytes;
  Micros arrival = departure;
  for (size_t i = 0; i < fragments; ++i) {
    const size_t length = std::min(kFragmentBytes, bytes.size() - i * kFragmentBytes);
    const int64_t wire = kDatagramHeaderBytes + command + static_cast<int64_t>(length);
    const std::optional<Micros> at = s.Datagram(id_, end.peer, departure, wire);
    if (!at) {  // resent until the peer counts as gone
      s.Break(id_, connection, departure + kFakeDisconnectTimeout,
              departure + kFakeDisconnectTimeout);
      return true;
    }
    arrival = std::max(arrival, *at);
  }
  s.SampleRoundTrip(end, id_);
  // Reliable and in order: nothing overtakes what was sent before it.
  end.lastDue = std::max(end.lastDue, arrival);
  Endpoint& peer = s.endpoints[end.peer];
  const auto peerEnd = peer.ends.find(end.peerConnection);
  if (peer.gone || peerEnd == peer.ends.end() || end.lastDue >= peerEnd->second.goneAt) return true;
  s.Queue(end.peer, end.lastDue,
          NetEvent{NetEvent::Kind::kMessage,
                   end.peerConnection,
                   self.address,
                   std::vector<uint8_t>(bytes.begin(), bytes.end()),
                   {}});
  return true;
}

std::optional<NetEvent> FakeEndpoint::Poll(Micros /*waitMicros*/) {
  FakeNetworkState& s = *state_;
  Endpoint& self = s.endpoints[id_];
  if (self.gone || s.ReadyAt(id_, s.now) != s.now) return std::nullopt;
  while (!self.inbox.empty() && self.inbox.begin()->first.first <= s.now) {
    NetEvent event = std::move(self.inbox.begin()->second);
    self.inbox.erase(self.inbox.begin());
    const auto it = self.ends.find(event.connection);
    if (it == self.ends.end() || it->second.closed) continue;
    End& end = it->second;
    if (event.kind == NetEvent::Kind::kDisconnected) end.closed = true;
    if (event.kind == NetEvent::Kind::kMessage) self.counts.messagesReceived++;
    return event;
  }
  return std::nullopt;
}

void FakeEndpoint::Disconnect(ConnectionId connection) {
  FakeNetworkState& s = *state_;
  Endpoint& self = s.endpoints[id_];
  auto it = self.ends.find(connection);
  if (self.gone || it == self.ends.end() || it->second.closed) return;
  End& end = it->second;
  end.closed = true;
  end.goneAt = std::min(end.goneAt, s.now);
  if (end.peer < 0) return;
  // The goodbye goes after every message already sent, reliably as they do.
  const Micros departure = s.ReadyAt(id_, s.now);
  const std::optional<Micros> at =
      s.Datagram(id_, end.peer, departure, kDatagramHeaderBytes + kSendCommandBytes);
  s.TellGone(end.peer, end.peerConnection,
             std::max(end.lastDue, at.value_or(departure + kFakeDisconnectTimeout)),
             "closed by the other end");
}

Micros FakeEndpoint::Now() const { return state_->now; }

Micros FakeEndpoint::RoundTrip(ConnectionId connection) const {
  const Endpoint& self = state_->endpoints[id_];
  const auto it = self.ends.find(connection);
  return it == self.ends.end() || it->second.closed ? 0 : it->second.roundTrip;
}

TransportCounts FakeEndpoint::Counts() const { return state_->endpoints[id_].counts; }

FakeNetwork::FakeNetwork(uint64_t seed, LinkConditions defaults)
    : state_(std::make_shared<FakeNetworkState>(seed)) {
  state_->defaults = defaults;
}

FakeNetwork::~FakeNetwork() = default;

std::unique_ptr<FakeEndpoint> FakeNetwork::Listen(const std::string& name) {
  for (const Endpoint& e : state_->endpoints) {
    if (e.listener && !e.gone && e.address == name) return nullptr;
  }
  return std::make_unique<FakeEndpoint>(state_, state_->Add(name, true));
}

std::unique_ptr<FakeEndpoint> FakeNetwork::Connect(const std::string& name,
                                                   const std::string& address, Micros timeout) {
  FakeNetworkState& s = *state_;
  EndpointId listener = -1;
  for (size_t i = 0; i < s.endpoints.size(); ++i) {
    const Endpoint& e = s.endpoints[i];
    if (e.listener && !e.gone && e.address == name) listener = static_cast<EndpointId>(i);
  }
  const EndpointId id = s.Add(address, false);
  auto endpoint = std::make_unique<FakeEndpoint>(state_, id);
  const ConnectionId connection = s.endpoints[id].nextConnection++;
  End& mine = s.endpoints[id].ends[connection];
  // ENet's handshake: connect, verify (the connector is connected), acknowledge
  // (the listener is); each datagram resent when lost.
  std::optional<Micros> request, verify, ack;
  if (listener >= 0) request = s.Datagram(id, listener, s.now, kDatagramHeaderBytes + 48);
  if (request) verify = s.Datagram(listener, id, s.ReadyAt(listener, *request), 52);
  if (verify) ack = s.Datagram(id, listener, *verify, kAckDatagramBytes);
  if (!ack || *verify - s.now > timeout) {
    mine.goneAt = s.now + timeout;
    mine.told = true;
    s.Queue(
        id, s.now + timeout,
        NetEvent{NetEvent::Kind::kDisconnected, connection, name, {}, "no answer from " + name});
    return endpoint;
  }
  Endpoint& host = s.endpoints[listener];
  const ConnectionId theirs = host.nextConnection++;
  End& other = host.ends[theirs];
  other.peer = id;
  other.peerConnection = connection;
  other.establishedAt = *ack;
  other.lastDue = *verify;
  s.SampleRoundTrip(other, listener);
  mine.peer = listener;
  mine.peerConnection = theirs;
  mine.establishedAt = *verify;
  mine.lastDue = *ack;
  s.SampleRoundTrip(mine, id);
  s.Queue(listener, *ack, NetEvent{NetEvent::Kind::kConnected, theirs, address, {}, {}});
  s.Queue(id, *verify, NetEvent{NetEvent::Kind::kConnected, connection, name, {}, {}});
  return endpoint;
}

void FakeNetwork::SetConditions(EndpointId endpoint, const LinkConditions& conditions) {
  state_->endpoints.at(endpoint).link = conditions;
}

void FakeNetwork::Stall(EndpointId endpoint, Micros duration) {
  FakeNetworkState& s = *state_;
  Endpoint& e = s.endpoints.at(endpoint);
  if (e.gone) return;
  e.stallFrom = s.now;
  e.stallUntil = s.now + std::max<Micros>(0, duration);
  if (duration <= kFakeDisconnectTimeout) return;
  // Its peers give up on it; once awake it hears nothing back and gives up too.
  for (auto& [connection, end] : e.ends) {
    if (!end.closed) {
      s.Break(endpoint, connection, s.now + kFakeDisconnectTimeout,
              e.stallUntil + kFakeDisconnectTimeout);
    }
  }
}

void FakeNetwork::Drop(EndpointId endpoint) { state_->Drop(endpoint); }

Micros FakeNetwork::Now() const { return state_->now; }

void FakeNetwork::Advance(Micros micros) { state_->now += std::max<Micros>(0, micros); }

std::optional<Micros> FakeNetwork::NextEventTime() const {
  const FakeNetworkState& s = *state_;
  std::optional<Micros> next;
  for (size_t i = 0; i < s.endpoints.size(); ++i) {
    const Endpoint& e = s.endpoints[i];
    if (e.gone || e.inbox.empty()) continue;
    const EndpointId id = static_cast<EndpointId>(i);
    // A stalled endpoint's waiting events come due when it wakes.
    Micros t = s.ReadyAt(id, s.now) > s.now ? s.ReadyAt(id, s.now) : kNever;
    const auto later = e.inbox.upper_bound({s.now, std::numeric_limits<uint64_t>::max()});
    if (later != e.inbox.end()) t = std::min(t, s.ReadyAt(id, later->first.first));
    if (t != kNever && (!next || t < *next)) next = t;
  }
  return next;
}

}  // namespace kragmoor::net
