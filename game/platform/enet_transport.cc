// ENet behind the Transport seam: one host a transport, peers named by
// connection ids that are never reused, and ENet's library set up once for
// the process however many transports come and go, on any thread.
#include "game/platform/enet_transport.h"

#include <enet/enet.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <map>
#include <mutex>
#include <utility>

namespace kragmoor::net {
namespace {

// What ENet may hold for one peer: messages being put together from their
// fragments and messages not yet polled (beyond that ENet takes no more from
// the peer, which then resends). A message a little over the bound is taken
// whole, so that the connection can be ended with its reason; ENet refuses
// the fragments of a longer one (nothing after it arrives, and the silence
// or the sender's own timeout ends the connection).
constexpr size_t kMaxWaitingBytes = 16 * kMaxMessageBytes;
constexpr size_t kMaxReassembledBytes = 4 * kMaxMessageBytes;

// enet_initialize once for all transports; enet_deinitialize after the last.
std::mutex initMutex;
int initCount = 0;  // guarded by initMutex

bool AcquireEnet() {
  std::lock_guard<std::mutex> lock(initMutex);
  if (initCount == 0 && enet_initialize() != 0) return false;
  ++initCount;
  return true;
}

void ReleaseEnet() {
  std::lock_guard<std::mutex> lock(initMutex);
  if (--initCount == 0) enet_deinitialize();
}

std::string HostOf(const ENetAddress& address) {
  char text[64] = {};
  if (enet_address_get_host_ip(&address, text, sizeof text) != 0) return "?";
  return text;
}

std::string PortText(const std::string& host, uint16_t port) {
  return host + ":" + std::to_string(port);
}

class EnetTransport : public Transport {
 public:
  // Takes `host` (made by the caller after AcquireEnet) and sets it up.
  explicit EnetTransport(ENetHost* host) : host_(host) {
    host_->checksum = enet_crc32;  // random datagrams at the port fail it and are dropped
    host_->maximumPacketSize = kMaxReassembledBytes;
    host_->maximumWaitingData = kMaxWaitingBytes;
  }

  ~EnetTransport() override {
    // What is queued goes out once, and every peer hears the goodbye now
    // rather than after its timeout.
    enet_host_flush(host_);
    for (const auto& [id, peer] : peers_) enet_peer_disconnect_now(peer, 0);
    enet_host_destroy(host_);
    ReleaseEnet();
  }
  EnetTransport(const EnetTransport&) = delete;
  EnetTransport& operator=(const EnetTransport&) = delete;

  // A connection under way: the connect's peer, to be given up at `deadline`.
  void Connecting(ENetPeer* peer, Micros deadline, std::string target) {
    const ConnectionId id = Adopt(peer);
    connecting_ = id;
    connectDeadline_ = deadline;
    connectTarget_ = std::move(target);
  }

  // Sent at the next Poll, with whatever else is queued for that peer.
  bool Send(ConnectionId connection, std::span<const uint8_t> bytes) override {
    ENetPeer* peer = PeerOf(connection);
    if (peer == nullptr || bytes.size() > kMaxMessageBytes ||
        peer->state != ENET_PEER_STATE_CONNECTED) {
      return false;
    }
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE);
    if (packet == nullptr) return false;
    if (enet_peer_send(peer, 0, packet) != 0) {
      enet_packet_destroy(packet);
      return false;
    }
    messagesSent_++;
    return true;
  }

  std::optional<NetEvent> Poll(Micros waitMicros) override {
    const Micros deadline = Now() + std::max<Micros>(0, waitMicros);
    while (true) {
      if (!pending_.empty()) {
        NetEvent event = std::move(pending_.front());
        pending_.pop_front();
        return event;
      }
      if (connecting_ != 0 && Now() >= connectDeadline_) GiveUpConnecting();
      if (!pending_.empty()) continue;
      Micros until = deadline;
      if (connecting_ != 0) until = std::min(until, connectDeadline_);
      const Micros left = until - Now();
      const auto ms = static_cast<enet_uint32>(left <= 0 ? 0 : (left + 999) / 1000);
      ENetEvent event;
      const int got = enet_host_service(host_, &event, ms);
      Harvest();
      if (got < 0) return std::nullopt;
      if (got > 0) {
        Handle(event);  // may make no event of its own: then ENet is asked again
      } else if (Now() >= deadline) {
        return std::nullopt;
      }
    }
  }

  // Queued messages are sent first (ENet's disconnect_later); nothing more
  // of `connection` is seen here.
  void Disconnect(ConnectionId connection) override {
    ENetPeer* peer = PeerOf(connection);
    if (peer == nullptr) return;
    peers_.erase(connection);
    peer->data = nullptr;
    if (connection == connecting_) connecting_ = 0;
    if (peer->state == ENET_PEER_STATE_CONNECTED) {
      enet_peer_disconnect_later(peer, 0);
    } else {
      enet_peer_reset(peer);
    }
  }

  Micros Now() const override {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }

  // ENet's smoothed average over its acknowledgements, kept in milliseconds.
  Micros RoundTrip(ConnectionId connection) const override {
    const auto it = peers_.find(connection);
    return it == peers_.end() ? 0 : Micros{it->second->roundTripTime} * 1000;
  }

  // Bytes of UDP payload: ENet's headers, checksums, acknowledgements, pings
  // and resends included (the IP and UDP headers not).
  TransportCounts Counts() const override {
    return TransportCounts{bytesSent_ + host_->totalSentData,
                           bytesReceived_ + host_->totalReceivedData, messagesSent_,
                           messagesReceived_};
  }

  ENetHost* host() { return host_; }

 private:
  ConnectionId Adopt(ENetPeer* peer) {
    const ConnectionId id = nextConnection_++;
    peer->data = reinterpret_cast<void*>(static_cast<uintptr_t>(id));
    peers_[id] = peer;
    enet_peer_timeout(peer, 0, kEnetTimeoutMinimumMs, kEnetTimeoutMaximumMs);
    return id;
  }

  ENetPeer* PeerOf(ConnectionId connection) const {
    const auto it = peers_.find(connection);
    return it == peers_.end() ? nullptr : it->second;
  }

  // The connection a peer carries, or 0 for one given up here.
  static ConnectionId IdOf(const ENetPeer* peer) {
    return static_cast<ConnectionId>(reinterpret_cast<uintptr_t>(peer->data));
  }

  void Handle(const ENetEvent& event) {
    ENetPeer* peer = event.peer;
    switch (event.type) {
      case ENET_EVENT_TYPE_CONNECT: {
        ConnectionId id = IdOf(peer);
        if (id == 0) {
          id = Adopt(peer);  // someone connected to us
        } else if (id == connecting_) {
          connecting_ = 0;
        }
        pending_.push_back(NetEvent{NetEvent::Kind::kConnected, id, HostOf(peer->address), {}, {}});
        break;
      }
      case ENET_EVENT_TYPE_RECEIVE: {
        const ConnectionId id = IdOf(peer);
        ENetPacket* packet = event.packet;
        if (id != 0 && packet->dataLength > kMaxMessageBytes) {
          Forget(id, peer);
          enet_peer_disconnect(peer, 0);
          pending_.push_back(NetEvent{NetEvent::Kind::kDisconnected,
                                      id,
                                      HostOf(peer->address),
                                      {},
                                      "message over the size limit"});
        } else if (id != 0) {
          messagesReceived_++;
          pending_.push_back(
              NetEvent{NetEvent::Kind::kMessage,
                       id,
                       HostOf(peer->address),
                       std::vector<uint8_t>(packet->data, packet->data + packet->dataLength),
                       {}});
        }
        enet_packet_destroy(packet);
        break;
      }
      case ENET_EVENT_TYPE_DISCONNECT: {
        const ConnectionId id = IdOf(peer);
        if (id == 0) break;
        const bool wasConnecting = id == connecting_;
        Forget(id, peer);
        pending_.push_back(NetEvent{NetEvent::Kind::kDisconnected,
                                    id,
                                    HostOf(peer->address),
                                    {},
                                    wasConnecting ? "no answer from " + connectTarget_
                                                  : std::string("closed or timed out")});
        break;
      }
      case ENET_EVENT_TYPE_NONE:
        break;
    }
  }

  void Forget(ConnectionId id, ENetPeer* peer) {
    peers_.erase(id);
    peer->data = nullptr;
    if (id == connecting_) connecting_ = 0;
  }

  void GiveUpConnecting() {
    ENetPeer* peer = PeerOf(connecting_);
    const ConnectionId id = connecting_;
    Forget(id, peer);
    enet_peer_reset(peer);
    pending_.push_back(NetEvent{NetEvent::Kind::kDisconnected,
                                id,
                                HostOf(peer->address),
                                {},
                                "no answer from " + connectTarget_});
  }

  // ENet's byte counters are 32 bits wide: they are taken over and cleared.
  void Harvest() {
    bytesSent_ += host_->totalSentData;
    bytesReceived_ += host_->totalReceivedData;
    host_->totalSentData = 0;
    host_->totalReceivedData = 0;
  }

  ENetHost* host_;
  std::map<ConnectionId, ENetPeer*> peers_;  // live connections; a peer's data holds its id
  std::deque<NetEvent> pending_;             // events made here, given out before ENet's
  ConnectionId nextConnection_ = 1;
  ConnectionId connecting_ = 0;  // the connect under way, or 0
  Micros connectDeadline_ = 0;
  std::string connectTarget_;  // HOST:PORT, for the reason when it fails
  int64_t bytesSent_ = 0;
  int64_t bytesReceived_ = 0;
  int64_t messagesSent_ = 0;
  int64_t messagesReceived_ = 0;
};

}  // namespace

std::unique_ptr<Transport> ListenEnet(const EnetListenOptions& options, uint16_t* boundPort,
                                      std::string* error) {
  const std::string where = PortText(options.bind.empty() ? "*" : options.bind, options.port);
  if (options.maxConnections < 1 || options.maxConnections > kEnetMaxConnections ||
      options.maxPerAddress < 1) {
    *error = "connection bounds out of range";
    return nullptr;
  }
  if (!AcquireEnet()) {
    *error = "ENet could not be initialised";
    return nullptr;
  }
  ENetAddress address{};
  address.host = ENET_HOST_ANY;
  address.port = options.port;
  if (!options.bind.empty() && enet_address_set_host(&address, options.bind.c_str()) != 0) {
    ReleaseEnet();
    *error = "cannot resolve " + options.bind;
    return nullptr;
  }
  ENetHost* host = enet_host_create(&address, options.maxConnections, 1, 0, 0);
  if (host == nullptr) {
    ReleaseEnet();
    *error = "cannot listen on " + where + " (address in use or not this machine's)";
    return nullptr;
  }
  host->duplicatePeers = options.maxPerAddress;
  *boundPort = host->address.port;
  return std::make_unique<EnetTransport>(host);
}

std::unique_ptr<Transport> ConnectEnet(const std::string& host, uint16_t port, Micros timeout,
                                       std::string* error) {
  if (!AcquireEnet()) {
    *error = "ENet could not be initialised";
    return nullptr;
  }
  ENetAddress address{};
  address.port = port;
  if (enet_address_set_host(&address, host.c_str()) != 0) {
    ReleaseEnet();
    *error = "cannot resolve " + host;
    return nullptr;
  }
  ENetHost* client = enet_host_create(nullptr, 1, 1, 0, 0);
  if (client == nullptr) {
    ReleaseEnet();
    *error = "cannot open a UDP socket";
    return nullptr;
  }
  auto transport = std::make_unique<EnetTransport>(client);  // owns client from here on
  ENetPeer* peer = enet_host_connect(client, &address, 1, 0);
  if (peer == nullptr) {
    *error = "cannot connect to " + PortText(host, port);
    return nullptr;
  }
  transport->Connecting(peer, transport->Now() + timeout, PortText(host, port));
  return transport;
}

}  // namespace kragmoor::net
