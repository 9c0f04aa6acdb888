// The ENet transport on loopback: connect, messages both ways whole and in
// order, the size bound, goodbyes, datagrams that are not ENet's, a port
// nobody answers on and the bound on connections from one address.
#include "game/platform/enet_transport.h"

#include <arpa/inet.h>
#include <enet/enet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace kragmoor::net {
namespace {

constexpr Micros kPatience = 5'000'000;  // the most any step below waits for the other end

// Polls every transport until `done` holds or kPatience has passed; what
// each one saw is appended to `seen`.
void PumpUntil(std::vector<Transport*> transports, std::vector<std::vector<NetEvent>>& seen,
               const std::function<bool()>& done) {
  seen.resize(transports.size());
  const Micros end = transports[0]->Now() + kPatience;
  while (!done() && transports[0]->Now() < end) {
    for (size_t i = 0; i < transports.size(); ++i) {
      while (auto event = transports[i]->Poll(i == 0 ? 1'000 : 0)) seen[i].push_back(*event);
    }
  }
}

size_t CountOf(const std::vector<NetEvent>& events, NetEvent::Kind kind) {
  size_t n = 0;
  for (const NetEvent& e : events) n += e.kind == kind;
  return n;
}

// A well-formed ENet connect with no checksum: a host that checks none
// would answer it.
std::vector<uint8_t> BareConnect() {
  ENetProtocolHeader header{};
  header.peerID = ENET_HOST_TO_NET_16(int{ENET_PROTOCOL_MAXIMUM_PEER_ID} |
                                      int{ENET_PROTOCOL_HEADER_FLAG_SENT_TIME});
  header.sentTime = ENET_HOST_TO_NET_16(1);
  ENetProtocolConnect connect{};
  connect.header.command =
      int{ENET_PROTOCOL_COMMAND_CONNECT} | int{ENET_PROTOCOL_COMMAND_FLAG_ACKNOWLEDGE};
  connect.header.channelID = 0xff;
  connect.header.reliableSequenceNumber = ENET_HOST_TO_NET_16(1);
  connect.incomingSessionID = 0xff;
  connect.outgoingSessionID = 0xff;
  connect.mtu = ENET_HOST_TO_NET_32(1400);
  connect.windowSize = ENET_HOST_TO_NET_32(32768);
  connect.channelCount = ENET_HOST_TO_NET_32(1);
  connect.packetThrottleInterval = ENET_HOST_TO_NET_32(5000);
  connect.packetThrottleAcceleration = ENET_HOST_TO_NET_32(2);
  connect.packetThrottleDeceleration = ENET_HOST_TO_NET_32(2);
  connect.connectID = ENET_HOST_TO_NET_32(0x1234);
  std::vector<uint8_t> bytes(sizeof header + sizeof connect);
  std::memcpy(bytes.data(), &header, sizeof header);
  std::memcpy(bytes.data() + sizeof header, &connect, sizeof connect);
  return bytes;
}

struct Loopback {
  explicit Loopback(size_t maxPerAddress = 4) {
    std::string error;
    listener = ListenEnet(
        {.bind = "127.0.0.1", .port = 0, .maxConnections = 4, .maxPerAddress = maxPerAddress},
        &port, &error);
    EXPECT_NE(listener, nullptr) << error;
    EXPECT_NE(port, 0);
  }
  // A new connection to the listener; true once both ends saw kConnected.
  bool Join(std::unique_ptr<Transport>& client, std::vector<std::vector<NetEvent>>& seen,
            Micros timeout = kPatience) {
    std::string error;
    client = ConnectEnet("127.0.0.1", port, timeout, &error);
    EXPECT_NE(client, nullptr) << error;
    seen.clear();
    PumpUntil({listener.get(), client.get()}, seen, [&] {
      return seen.size() == 2 && !seen[1].empty() &&
             (!seen[0].empty() || seen[1][0].kind != NetEvent::Kind::kConnected);
    });
    return seen.size() == 2 && CountOf(seen[0], NetEvent::Kind::kConnected) == 1 &&
           CountOf(seen[1], NetEvent::Kind::kConnected) == 1;
  }
  uint16_t port = 0;
  std::unique_ptr<Transport> listener;
};

std::vector<uint8_t> Message(int n, size_t size = 40) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(n + i);
  return bytes;
}

TEST(EnetTransport, CarriesMessagesBothWaysAndSaysGoodbye) {
  Loopback loop;
  std::unique_ptr<Transport> client;
  std::vector<std::vector<NetEvent>> seen;
  ASSERT_TRUE(loop.Join(client, seen));
  EXPECT_EQ(seen[0][0].address, "127.0.0.1");
  const ConnectionId toClient = seen[0][0].connection;
  const ConnectionId toListener = seen[1][0].connection;
  std::vector<std::vector<uint8_t>> sent;
  for (int n = 0; n < 100; ++n) {
    sent.push_back(Message(n, n == 50 ? 20'000 : 40));  // one in fragments
    ASSERT_TRUE(loop.listener->Send(toClient, sent.back()));
    ASSERT_TRUE(client->Send(toListener, sent.back()));
  }
  // The largest message goes; one byte more is refused before it is sent.
  EXPECT_FALSE(client->Send(toListener, std::vector<uint8_t>(kMaxMessageBytes + 1)));
  sent.push_back(Message(7, kMaxMessageBytes));
  ASSERT_TRUE(loop.listener->Send(toClient, sent.back()));
  ASSERT_TRUE(client->Send(toListener, sent.back()));
  seen.clear();
  PumpUntil({loop.listener.get(), client.get()}, seen,
            [&] { return seen[0].size() == sent.size() && seen[1].size() == sent.size(); });
  for (size_t side = 0; side < 2; ++side) {
    ASSERT_EQ(seen[side].size(), sent.size());
    for (size_t i = 0; i < sent.size(); ++i) {
      ASSERT_EQ(seen[side][i].kind, NetEvent::Kind::kMessage);
      ASSERT_EQ(seen[side][i].bytes, sent[i]) << "side " << side << " message " << i;
    }
  }
  const TransportCounts counts = client->Counts();
  EXPECT_EQ(counts.messagesSent, 101);
  EXPECT_EQ(counts.messagesReceived, 101);
  EXPECT_GT(counts.bytesSent, 99 * 40 + 20'000 + int64_t{kMaxMessageBytes});
  EXPECT_GT(client->RoundTrip(toListener), 0);
  // A goodbye from the client: the listener sees it, the client no more.
  client->Disconnect(toListener);
  EXPECT_FALSE(client->Send(toListener, Message(1)));
  seen.clear();
  PumpUntil({loop.listener.get(), client.get()}, seen, [&] { return !seen[0].empty(); });
  ASSERT_EQ(seen[0].size(), 1u);
  EXPECT_EQ(seen[0][0].kind, NetEvent::Kind::kDisconnected);
  EXPECT_EQ(seen[0][0].connection, toClient);
  EXPECT_TRUE(seen[1].empty());
  EXPECT_FALSE(loop.listener->Send(toClient, Message(1)));
}

TEST(EnetTransport, AMessageOverTheBoundEndsItsConnection) {
  // The sender is plain ENet, which knows no bound of its own.
  Loopback loop;
  ASSERT_EQ(enet_initialize(), 0);
  ENetHost* raw = enet_host_create(nullptr, 1, 1, 0, 0);
  ASSERT_NE(raw, nullptr);
  raw->checksum = enet_crc32;
  ENetAddress address{};
  ASSERT_EQ(enet_address_set_host(&address, "127.0.0.1"), 0);
  address.port = loop.port;
  ENetPeer* peer = enet_host_connect(raw, &address, 1, 0);
  std::vector<std::vector<NetEvent>> seen;
  bool sent = false, told = false;
  PumpUntil({loop.listener.get()}, seen, [&] {
    ENetEvent event;
    while (enet_host_service(raw, &event, 0) > 0) {
      if (event.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(event.packet);
      told |= event.type == ENET_EVENT_TYPE_DISCONNECT;
    }
    if (!sent && peer->state == ENET_PEER_STATE_CONNECTED) {
      std::vector<uint8_t> oversize(kMaxMessageBytes + 1, 9);
      enet_peer_send(
          peer, 0, enet_packet_create(oversize.data(), oversize.size(), ENET_PACKET_FLAG_RELIABLE));
      sent = true;
    }
    return told && seen[0].size() >= 2;
  });
  ASSERT_EQ(seen[0].size(), 2u);
  EXPECT_EQ(seen[0][0].kind, NetEvent::Kind::kConnected);
  EXPECT_EQ(seen[0][1].kind, NetEvent::Kind::kDisconnected);
  EXPECT_EQ(seen[0][1].reason, "message over the size limit");
  EXPECT_TRUE(told);
  enet_host_destroy(raw);
  enet_deinitialize();
}

TEST(EnetTransport, DatagramsThatAreNotEnetsChangeNothing) {
  Loopback loop;
  std::unique_ptr<Transport> client;
  std::vector<std::vector<NetEvent>> seen;
  ASSERT_TRUE(loop.Join(client, seen));
  const ConnectionId toClient = seen[0][0].connection;
  const ConnectionId toListener = seen[1][0].connection;
  const int sock = socket(AF_INET, SOCK_DGRAM, 0);
  ASSERT_GE(sock, 0);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(loop.port);
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  // Random bytes of every length up to a datagram's, some shaped as a
  // connect (ENet's "no peer yet" id) and as a message to peer 0.
  uint64_t x = 12345;
  for (int n = 0; n < 300; ++n) {
    std::vector<uint8_t> datagram(1 + n * 5 % 1400);
    for (uint8_t& b : datagram) {
      x = x * 6364136223846793005ULL + 1442695040888963407ULL;
      b = static_cast<uint8_t>(x >> 56);
    }
    if (n % 3 == 0 && datagram.size() >= 2) datagram[0] = 0xff, datagram[1] = 0x0f;
    if (n % 3 == 1 && datagram.size() >= 2) datagram[0] = 0x00, datagram[1] = 0x00;
    if (n % 10 == 0) datagram = BareConnect();
    ASSERT_EQ(sendto(sock, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&to),
                     sizeof to),
              static_cast<ssize_t>(datagram.size()));
  }
  seen.clear();
  // No event from any of it; then the connection works as before.
  const Micros quiet = loop.listener->Now() + 300'000;
  PumpUntil({loop.listener.get(), client.get()}, seen,
            [&] { return loop.listener->Now() >= quiet; });
  EXPECT_TRUE(seen[0].empty());
  EXPECT_TRUE(seen[1].empty());
  uint8_t reply[1500];
  fcntl(sock, F_SETFL, O_NONBLOCK);
  EXPECT_LT(recv(sock, reply, sizeof reply, 0), 0)
      << "the listener answered a datagram without its checksum";
  close(sock);
  ASSERT_TRUE(client->Send(toListener, Message(3)));
  ASSERT_TRUE(loop.listener->Send(toClient, Message(4)));
  PumpUntil({loop.listener.get(), client.get()}, seen,
            [&] { return !seen[0].empty() && !seen[1].empty(); });
  ASSERT_EQ(seen[0].size(), 1u);
  EXPECT_EQ(seen[0][0].bytes, Message(3));
  ASSERT_EQ(seen[1].size(), 1u);
  EXPECT_EQ(seen[1][0].bytes, Message(4));
}

TEST(EnetTransport, ConnectsThatGetNoAnswerEndWithinTheirTimeout) {
  // A port that is bound, so nobody else takes it, and never answers.
  const int sock = socket(AF_INET, SOCK_DGRAM, 0);
  ASSERT_GE(sock, 0);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&at), sizeof at), 0);
  socklen_t length = sizeof at;
  ASSERT_EQ(getsockname(sock, reinterpret_cast<sockaddr*>(&at), &length), 0);
  const uint16_t silent = ntohs(at.sin_port);
  std::string error;
  // That port is taken for listening too.
  EXPECT_EQ(ListenEnet({.bind = "127.0.0.1", .port = silent}, &at.sin_port, &error), nullptr);
  EXPECT_NE(error.find("cannot listen on 127.0.0.1:"), std::string::npos) << error;
  auto client = ConnectEnet("127.0.0.1", silent, 300'000, &error);
  ASSERT_NE(client, nullptr) << error;
  const Micros start = client->Now();
  std::vector<std::vector<NetEvent>> seen;
  PumpUntil({client.get()}, seen, [&] { return !seen[0].empty(); });
  ASSERT_EQ(seen[0].size(), 1u);
  EXPECT_EQ(seen[0][0].kind, NetEvent::Kind::kDisconnected);
  EXPECT_EQ(seen[0][0].reason, "no answer from 127.0.0.1:" + std::to_string(silent));
  EXPECT_LT(client->Now() - start, 300'000 + 2'000'000);  // its timeout, and no more
  close(sock);
  EXPECT_EQ(ConnectEnet("no such host.invalid", 1, 300'000, &error), nullptr);
  EXPECT_EQ(error, "cannot resolve no such host.invalid");
  // One connection per address: the second from 127.0.0.1 gets no answer.
  Loopback loop(1);
  std::unique_ptr<Transport> first, second;
  ASSERT_TRUE(loop.Join(first, seen));
  EXPECT_FALSE(loop.Join(second, seen, 300'000));
  ASSERT_EQ(seen[1].size(), 1u);
  EXPECT_EQ(seen[1][0].kind, NetEvent::Kind::kDisconnected);
  EXPECT_TRUE(seen[0].empty());
}

}  // namespace
}  // namespace kragmoor::net
