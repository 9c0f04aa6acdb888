// Network play on the fake network: a referee and its peers on one virtual
// clock, through latency, jitter, loss, a stall, a drop and a rejoin, a
// desync made on purpose, orders for another side and hostile messages.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "game/net/fake_network.h"
#include "game/net/fingerprint.h"
#include "game/net/peer.h"
#include "game/net/referee.h"
#include "game/net/wire.h"
#include "game/print.h"
#include "game/recorder.h"
#include "game/replay/recording.h"
#include "game/replay/replay.h"
#include "world/state_hash.h"

namespace kragmoor::net {
namespace {

constexpr const char* kCodes[] = {"code-one-0123456", "code-two-0123456"};

// The first live slot of `side` of `kind`.
int SlotOf(const World& world, int side, int32_t kind) {
  for (int s = 0; s < kSlotCount; ++s) {
    const Tigrok& t = world.entities[s];
    if (IsLive(t) && t.owner == side && t.kind == kind) return s;
  }
  return -1;
}

// A referee with two player seats and the computer player, and its peers.
struct Game {
  explicit Game(LinkConditions link = {}, int32_t frames = 3000,
                DroppedPlay dropped = DroppedPlay{})
      : net(7, link), listener(net.Listen("referee")) {
    RefereeOptions options;
    options.frames = frames;
    options.seed = 3;
    options.dropped = dropped;
    std::array<RefereeSeat, kSideCount> seats;
    seats[0] = {RefereeSeat::Kind::kPlayer, 3, "", kCodes[0]};
    seats[1] = {RefereeSeat::Kind::kPlayer, 3, "", kCodes[1]};
    seats[2] = {RefereeSeat::Kind::kAi, 3, "", ""};
    referee = std::make_unique<Referee>(*listener, options, seats);
    referee->onLine = [this](const std::string& line) { lines.push_back(line); };
    referee->saveFile = [this](const std::string& name, const std::string& text) {
      files[name] = text;
    };
  }

  Peer& Join(const std::string& code, const std::string& address, bool watch = false) {
    ends.push_back(net.Connect("referee", address));
    peers.push_back(std::make_unique<Peer>(*ends.back(), PeerOptions{code, watch, address}));
    Peer& peer = *peers.back();
    peer.onFrame = [this, &peer](int64_t, const std::vector<std::string>& refusals) {
      for (const std::string& r : refusals) refused[&peer].push_back(r);
    };
    return peer;
  }

  // Runs everything in steps of 1 ms until `until` holds or `limit` passes.
  template <typename Until>
  void RunUntil(Until until, Micros limit = 700'000'000) {
    const Micros end = net.Now() + limit;
    while (!until() && net.Now() < end) {
      net.Advance(1'000);
      referee->Advance();
      for (auto& peer : peers) peer->Advance();
    }
  }
  void RunFor(Micros micros) {
    const Micros end = net.Now() + micros;
    RunUntil([&] { return net.Now() >= end; });
  }
  // Plays to the referee's last frame and sends the end.
  void Finish() {
    RunUntil([&] { return referee->over(); });
    referee->EndBots();
    referee->SendEnd("places 1 2 3\n");
    RunFor(2'000'000);
  }
  // Whether `peer` ended on the referee's hash.
  bool OnRefereesHash(const Peer& peer) const {
    const uint64_t hash = SyncHash(referee->session().world);
    return peer.state() == Peer::State::kEnded && peer.end().syncHash == hash &&
           SyncHash(peer.session().world) == hash && peer.frames() == referee->frames();
  }

  FakeNetwork net;
  std::unique_ptr<FakeEndpoint> listener;
  std::unique_ptr<Referee> referee;
  std::vector<std::unique_ptr<FakeEndpoint>> ends;
  std::vector<std::unique_ptr<Peer>> peers;
  std::vector<std::string> lines;
  std::map<std::string, std::string> files;
  std::map<const Peer*, std::vector<std::string>> refused;
};

// Two peers at 50 ms round trip, jitter and loss, and a watcher, with one
// peer stalled for 2 s: all end on the referee's hash; an order for the
// peer's own peasant runs on every machine, one for another side's is
// refused with a reason in that peer's frames.
TEST(NetPlay, PeersEndOnTheRefereesHashThroughLatencyLossAndAStall) {
  Game game({12'500, 10'000, 0.005, 0.005});
  Peer& one = game.Join(kCodes[0], "10.0.0.1");
  Peer& two = game.Join(kCodes[1], "10.0.0.2");
  Peer& watcher = game.Join("", "10.0.0.3", true);
  game.RunUntil([&] { return game.referee->frames() >= 100 && two.frames() >= 100; });
  ASSERT_EQ(one.state(), Peer::State::kPlaying);
  const World& world = one.session().world;
  const int own = SlotOf(world, 0, kKindPeasant);
  const int other = SlotOf(world, 1, kKindPeasant);
  one.SendOrders({{own, "idti 400,400"}, {other, "idti 400,400"}, {own, "bogus 1"}});
  game.net.Stall(game.ends[1]->id(), 2'000'000);
  game.Finish();
  for (const Peer* peer : {&one, &two, &watcher}) EXPECT_TRUE(game.OnRefereesHash(*peer));
  EXPECT_EQ(game.referee->session().world.entities[own].order, "idti 400,400");
  ASSERT_EQ(game.refused[&one].size(), 2u);
  EXPECT_EQ(game.refused[&one][0],
            "slot " + std::to_string(other) + " is not a live entity of side 1");
  EXPECT_EQ(game.refused[&one][1], "slot " + std::to_string(own) + ": 'bogus' is not an order");
  const auto results = game.referee->PeerResults();
  EXPECT_EQ(results[0].status, "ok");
  EXPECT_EQ(results[0].orders, 1);
  EXPECT_EQ(results[0].refused, 2);
  EXPECT_EQ(results[1].status, "ok");
}

// A peer gone without a word is dropped after 5 s (its side played by the
// computer player), joins again from elsewhere with its code, has its seat
// back within 2 s and ends on the referee's hash, status rejoined.
TEST(NetPlay, ADroppedPeerRejoinsWithItsCode) {
  Game game({5'000, 2'000, 0.0, 0.0}, 4000);
  game.Join(kCodes[0], "10.0.0.1");
  Peer& two = game.Join(kCodes[1], "10.0.0.2");
  game.RunUntil([&] { return game.referee->frames() >= 500; });
  game.net.Drop(game.ends[0]->id());
  game.RunFor(5'500'000);
  EXPECT_TRUE(game.referee->session().computerPlayer[0]);
  EXPECT_EQ(game.referee->PeerResults()[0].status, "dropped");
  const int64_t before = game.referee->frames();
  Peer& again = game.Join(kCodes[0], "10.0.0.9");
  game.RunUntil(
      [&] {
        return !game.referee->session().computerPlayer[0] && again.state() == Peer::State::kPlaying;
      },
      2'000'000);
  EXPECT_FALSE(game.referee->session().computerPlayer[0]);
  EXPECT_EQ(again.state(), Peer::State::kPlaying);
  EXPECT_LT(game.referee->frames() - before, 200);  // the others went on, 100 frames a second
  game.Finish();
  EXPECT_TRUE(game.OnRefereesHash(again));
  EXPECT_TRUE(game.OnRefereesHash(two));
  EXPECT_EQ(game.referee->PeerResults()[0].status, "rejoined");
}

// With --dropped pause the whole game waits for a dropped peer, and goes on
// once it is back.
TEST(NetPlay, ADroppedPeerPausesTheGameUntilItIsBack) {
  Game game({5'000, 0, 0.0, 0.0}, 2000, {DroppedPlay::Kind::kPause, 2});
  game.Join(kCodes[0], "10.0.0.1");
  Peer& two = game.Join(kCodes[1], "10.0.0.2");
  game.RunUntil([&] { return game.referee->frames() >= 300; });
  game.net.Drop(game.ends[0]->id());
  game.RunFor(6'000'000);
  const int64_t paused = game.referee->frames();
  EXPECT_LT(paused, 300 + 600);  // dropped after 5 s of silence
  game.RunFor(3'000'000);
  EXPECT_EQ(game.referee->frames(), paused);
  EXPECT_FALSE(game.referee->session().computerPlayer[0]);
  Peer& again = game.Join(kCodes[0], "10.0.0.9");
  game.Finish();
  EXPECT_TRUE(game.OnRefereesHash(again));
  EXPECT_TRUE(game.OnRefereesHash(two));
}

// A peer whose game is made to differ at frame 205 is named at the next
// sync frame with the slot and the field, both states are saved, it is put
// back on the referee's state and the game goes on to the same end.
TEST(NetPlay, ADesyncIsReportedWithFrameSlotAndFieldAndRepaired) {
  Game game({10'000, 0, 0.0, 0.0}, 1500);
  Peer& one = game.Join(kCodes[0], "10.0.0.1");
  Peer& two = game.Join(kCodes[1], "10.0.0.2");
  std::vector<std::string> seen;
  one.onLine = [&seen](const std::string& line) { seen.push_back(line); };
  game.referee->filesFolder = "/home/ann/reports";
  std::string folder;
  one.onReport = [&folder](const DesyncReport& report) { folder = report.folder; };
  const int mine = SlotOf(game.referee->session().world, 0, kKindMine);
  two.testChange = [mine](Session& session, int64_t frame) {
    if (frame == 205) session.world.entities[mine].gold += 7;
  };
  game.Finish();
  const std::string head = "desync: frame 210 side 2: slot " + std::to_string(mine) + " gold: ";
  ASSERT_FALSE(game.lines.empty());
  const auto report = std::find_if(game.lines.begin(), game.lines.end(),
                                   [&](const std::string& l) { return l.starts_with("desync"); });
  ASSERT_NE(report, game.lines.end());
  EXPECT_TRUE(report->starts_with(head)) << *report;
  EXPECT_NE(report->find(", peer "), std::string::npos);
  EXPECT_EQ(seen.size(), 1u);  // every peer is sent the report, with where it was saved
  EXPECT_EQ(folder, "/home/ann/reports");
  EXPECT_TRUE(game.files.contains("desync-210-referee.kgs"));
  EXPECT_TRUE(game.files.contains("desync-210-side2.kgs"));
  EXPECT_NE(game.files["desync-210-referee.kgs"], game.files["desync-210-side2.kgs"]);
  EXPECT_TRUE(two.desync());
  EXPECT_FALSE(one.desync());
  EXPECT_TRUE(game.OnRefereesHash(two));
  EXPECT_TRUE(game.OnRefereesHash(one));
  EXPECT_EQ(game.referee->PeerResults()[1].status, "desync");
}

// Every peer, a watcher too, is told each side's seat before the first
// frame and as it changes, and the host's pace, which is everyone's: no
// frame closes while the host pauses, and at x2 twice as many a second.
TEST(NetPlay, TheRosterAndTheHostsPaceReachEveryPeer) {
  Game game({5'000, 0, 0.0, 0.0}, 5000);
  Peer& one = game.Join(kCodes[0], "10.0.0.1");
  Peer& watcher = game.Join("", "10.0.0.3", true);
  game.RunFor(500'000);
  ASSERT_TRUE(watcher.haveRoster());
  EXPECT_FALSE(watcher.roster().started);
  EXPECT_EQ(game.referee->frames(), 0);
  const RosterSeat& first = watcher.roster().seats[0];
  EXPECT_TRUE(first.kind == RosterSeat::Kind::kPlayer && first.taken && first.name == "10.0.0.1");
  EXPECT_TRUE(first.roundTripMs > 0 && first.roundTripMs < 50) << first.roundTripMs;
  EXPECT_FALSE(watcher.roster().seats[1].taken);
  EXPECT_EQ(watcher.roster().seats[2].kind, RosterSeat::Kind::kAi);
  EXPECT_EQ(watcher.roster().watchers, 1);
  game.Join(kCodes[1], "10.0.0.2");
  one.SendName("Ann \"x\" \\ y");  // a name that would break serve's peer line
  game.RunUntil([&] { return game.referee->frames() >= 100; });
  EXPECT_TRUE(one.roster().started && one.roster().seats[1].taken);
  EXPECT_EQ(one.roster().seats[0].name, "Ann _x_ _ y");
  game.referee->SetPace(true, 0);
  game.RunFor(300'000);
  const int64_t paused = game.referee->frames();
  game.RunFor(1'000'000);
  EXPECT_EQ(game.referee->frames(), paused);
  EXPECT_TRUE(one.roster().paused && watcher.roster().paused);
  game.referee->SetPace(false, 1);
  game.RunFor(1'000'000);
  EXPECT_NEAR(static_cast<double>(game.referee->frames() - paused), 200.0, 2.0);
  EXPECT_EQ(watcher.roster().speed, 1);
  EXPECT_FALSE(watcher.roster().paused);
  game.Finish();
  EXPECT_TRUE(game.OnRefereesHash(one));
  EXPECT_TRUE(game.OnRefereesHash(watcher));
}

// A peer's own recording, through a desync repair that replaces its game
// mid-way, replays with every hash verified and ends on the referee's hash.
TEST(NetPlay, APeersRecordingThroughARepairReplaysClean) {
  Game game({5'000, 0, 0.0, 0.0}, 800);
  game.Join(kCodes[0], "10.0.0.1");
  Peer& two = game.Join(kCodes[1], "10.0.0.2");
  std::ostringstream out;
  Recorder recorder(out);
  two.onState = [&] {
    if (two.recorder != nullptr) return;
    recorder.State(two.session());
    two.recorder = &recorder;
  };
  const int mine = SlotOf(game.referee->session().world, 0, kKindMine);
  two.testChange = [mine](Session& session, int64_t frame) {
    if (frame == 305) session.world.entities[mine].gold += 7;
  };
  game.Finish();
  ASSERT_TRUE(two.desync());
  recorder.Finish(two.session());
  ASSERT_TRUE(recorder.failure().empty()) << recorder.failure();
  Recording recording;
  std::string why;
  ASSERT_TRUE(ReadRecording(out.str(), recording, why)) << why;
  Replay replay(std::move(recording));
  replay.Seek(replay.frames());
  EXPECT_FALSE(replay.problem()) << replay.problem()->words;
  EXPECT_EQ(SyncHash(replay.session().world), SyncHash(game.referee->session().world));
}

// Hostile or wrong peers: a wrong code is refused, a second program on a
// live seat is refused as taken, a malformed message, a message out of turn
// and a flood of orders each end only their own connection.
TEST(NetPlay, WrongAndHostilePeersEndOnlyTheirOwnConnection) {
  Game game({5'000, 0, 0.0, 0.0}, 1000);
  Peer& one = game.Join(kCodes[0], "10.0.0.1");
  Peer& two = game.Join(kCodes[1], "10.0.0.2");
  game.RunUntil([&] { return game.referee->frames() >= 50; });
  Peer& wrong = game.Join("not-a-code", "10.0.0.5");
  Peer& taken = game.Join(kCodes[1], "10.0.0.6");
  auto raw = game.net.Connect("referee", "10.0.0.7");
  auto early = game.net.Connect("referee", "10.0.0.8");
  game.RunFor(200'000);
  const auto connection = [](FakeEndpoint& end) {
    ConnectionId id = 0;
    while (auto event = end.Poll(0)) {
      if (event->kind == NetEvent::Kind::kConnected) id = event->connection;
    }
    return id;
  };
  const std::vector<uint8_t> garbage = {4, 0xff, 0xff, 0xff, 0xff, 1, 2};
  raw->Send(connection(*raw), garbage);
  early->Send(connection(*early), Encode(Inputs{{{0, "idle"}}}));
  ConnectionId id = 0;
  auto other = game.net.Connect("referee", "10.0.0.4");
  game.RunUntil([&] { return (id = connection(*other)) != 0; });
  other->Send(id, Encode(Hello{kProtocolVersion + 1, 99, false, kCodes[0], ""}));
  game.RunFor(500'000);
  Message answer;
  std::string why;
  std::optional<NetEvent> event = other->Poll(0);
  ASSERT_TRUE(event && Decode(event->bytes, answer, why)) << why;
  ASSERT_TRUE(std::holds_alternative<Refuse>(answer));
  EXPECT_EQ(std::get<Refuse>(answer).reason, RefuseReason::kVersion);
  EXPECT_EQ(std::get<Refuse>(answer).text,
            "another version: referee protocol " + std::to_string(kProtocolVersion) +
                " simulation " + FormatHash(SimulationFingerprint()) + ", peer protocol " +
                std::to_string(kProtocolVersion + 1) + " simulation 0000000000000063");
  EXPECT_EQ(wrong.state(), Peer::State::kRefused);
  EXPECT_EQ(wrong.failure(), "refused: no seat has that code");
  EXPECT_EQ(taken.state(), Peer::State::kRefused);
  EXPECT_EQ(taken.failure(), "refused: seat 2 is taken");
  const auto ended = [&](const std::string& why) {
    return std::any_of(game.lines.begin(), game.lines.end(),
                       [&](const std::string& l) { return l.find(why) != std::string::npos; });
  };
  EXPECT_TRUE(ended("order count 4294967295 is over its limit of 64"));
  EXPECT_TRUE(ended("out of turn: a hello comes first"));
  game.Finish();
  EXPECT_TRUE(game.OnRefereesHash(one));
  EXPECT_TRUE(game.OnRefereesHash(two));
  EXPECT_EQ(game.referee->PeerResults()[1].status, "ok");
}

// The decoder refuses, with a reason, every message cut short, with bytes
// left over, or with a count or text over its bound.
TEST(NetPlay, TheDecoderRefusesMalformedMessages) {
  Message m;
  std::string why;
  const std::vector<uint8_t> hello = Encode(Hello{kProtocolVersion, 42, false, "abc", "me"});
  ASSERT_TRUE(Decode(hello, m, why)) << why;
  EXPECT_EQ(std::get<Hello>(m).code, "abc");
  for (size_t cut = 0; cut < hello.size(); ++cut) {
    EXPECT_FALSE(Decode(std::span(hello).first(cut), m, why));
    EXPECT_FALSE(why.empty());
  }
  std::vector<uint8_t> longer = hello;
  longer.push_back(0);
  EXPECT_FALSE(Decode(longer, m, why));
  EXPECT_EQ(why, "bytes left over after the message at byte 27");
  EXPECT_FALSE(Decode(Encode(Hello{1, 2, false, std::string(65, 'c'), ""}), m, why));
  EXPECT_EQ(why, "code of 65 bytes is over its limit of 64 at byte 18");
  EXPECT_FALSE(Decode(Encode(Hello{1, 2, false, "a\x1b", ""}), m, why));
  EXPECT_FALSE(Decode(std::vector<uint8_t>{0}, m, why));
  EXPECT_EQ(why, "unknown message type 0 at byte 1");
  EXPECT_FALSE(Decode(std::vector<uint8_t>(kMaxMessageBytes + 1, 4), m, why));
  EXPECT_TRUE(IsOrderText("stroit 1,-20,30", why));
  EXPECT_FALSE(IsOrderText("stroit 2,20,30", why));
  EXPECT_FALSE(IsOrderText("idti 0x10,3", why));
  EXPECT_FALSE(IsOrderText("atakovat 3,4", why));
}

}  // namespace
}  // namespace kragmoor::net
