// kragmoor-sim join: takes a seat in, or watches, a network game over ENet;
// with --bot, an arena bot plays the seat through the arena's protocol.
// Prints the match lines at the end; exits 0 on the referee's hash.
#include <iostream>

#include "game/bots/bot_protocol.h"
#include "game/bots/bot_seat.h"
#include "game/match.h"
#include "game/net/peer.h"
#include "game/net/seat_words.h"
#include "game/platform/enet_transport.h"
#include "game/quote.h"
#include "runner/command_line.h"
#include "runner/serve.h"
#include "world/state_hash.h"

namespace kragmoor {

namespace {

using net::Micros;

constexpr Micros kConnectWait = 5'000'000;  // for the referee's answer
constexpr Micros kRejoinFor = 15'000'000;   // tries to connect again after a loss, for this long
constexpr Micros kRetryEvery = 1'000'000;
constexpr std::chrono::milliseconds kBotEndGrace{1000};

// The seat's bot, fed the arena's messages on the frames the peer runs.
struct SeatBot {
  std::string command;
  BotSeat seat;
  bool started = false;
  bool turned = false;  // a first turn was sent
  bool named = false;   // the bot's name went to the referee

  void Start(const net::Peer& peer) {
    if (started || command.empty()) return;
    started = true;
    const net::Welcome& w = peer.welcome();
    seat.onErrorLine = [side = w.seat](std::string_view line) {
      std::cerr << "side " << side + 1 << ": " << line << std::endl;
    };
    std::string why;
    if (!seat.Start(command, w.seat, BotTiming{w.turn, w.budgetMs, w.overtimeMs, w.seed}, w.frames,
                    why)) {
      std::cerr << "kragmoor-sim: cannot start the bot: " << why << std::endl;
    }
  }
  // Before or after each frame and between them: answers go to the referee
  // as orders, a turn goes out when one is due and the last was answered.
  void Step(net::Peer& peer, bool turnFrame) {
    if (!started || !seat.playing()) return;
    seat.Poll();
    if (!named && !seat.name().empty()) {
      named = true;
      peer.SendName(seat.name());
    }
    const World& world = peer.session().world;
    std::vector<net::WireOrder> orders;
    for (const BotOrder& order : seat.TakeAnswer(world)) orders.push_back({order.slot, order.text});
    if (!orders.empty()) peer.SendOrders(orders);
    if (seat.status() == "ok" && !seat.awaiting() && (turnFrame || !turned)) {
      turned = true;
      seat.SendTurn(TurnBody(world, peer.frames()), world, peer.frames());
    }
  }
};

}  // namespace

int JoinCommand(int argc, char** argv, std::ostream& out) {
  std::string code;
  SeatBot bot;
  bool watch = false;
  // --watch takes no value: it is taken out before the options are read.
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (i >= 2 && std::string_view(argv[i]) == "--watch") {
      watch = true;
    } else {
      args.push_back(argv[i]);
    }
  }
  const std::vector<Option> options = {
      {"--code",
       [&](std::string_view v) {
         code = v;
         return !v.empty() && v.size() <= net::kMaxCodeBytes && net::IsPrintable(v);
       }},
      {"--bot",
       [&](std::string_view v) {
         bot.command = v;
         return !v.empty();
       }},
  };
  std::vector<std::string_view> words;
  if (const auto done =
          ReadOptions(static_cast<int>(args.size()), args.data(), options, &words, out)) {
    return *done;
  }
  if (words.size() != 1) return Usage("'join' takes one HOST:PORT");
  std::string host;
  uint16_t port = 0;
  if (!net::ParseHostPort(std::string(words[0]), host, port))
    return Usage("bad address " + Quoted(words[0]));
  if (watch == !code.empty()) return Usage("'join' takes --code CODE or --watch");
  if (watch && !bot.command.empty()) return Usage("a watcher plays no bot");

  std::string error;
  std::unique_ptr<net::Transport> transport = net::ConnectEnet(host, port, kConnectWait, &error);
  if (!transport) {
    std::cerr << "kragmoor-sim: cannot connect: " << error << std::endl;
    return kLostStatus;
  }
  net::Peer peer(*transport, net::PeerOptions{code, watch, ""});
  peer.onLine = [](const std::string& line) { std::cerr << line << std::endl; };
  peer.onState = [&] { bot.Start(peer); };
  peer.onApplied = [&](int slot) {
    if (bot.started) bot.seat.Given(peer.session().world, slot);
  };
  peer.onFrame = [&](int64_t frame, const std::vector<std::string>& refusals) {
    if (!bot.started) return;
    if (!refusals.empty()) bot.seat.Refused(refusals);
    bot.Step(peer, frame % peer.welcome().turn == 0);
  };
  bool everPlayed = false;
  Micros lostAt = -1, retryAt = 0;
  for (;;) {
    if (auto event = transport->Poll(2'000)) peer.Take(*event);
    peer.Advance();
    bot.Step(peer, false);
    const net::Peer::State state = peer.state();
    if (state == net::Peer::State::kPlaying) {
      everPlayed = true;
      lostAt = -1;
    }
    if (state == net::Peer::State::kEnded) break;
    const bool retry =
        everPlayed &&
        (state == net::Peer::State::kLost ||
         (state == net::Peer::State::kRefused && peer.refuseReason() == net::RefuseReason::kTaken));
    if (!retry && (state == net::Peer::State::kRefused || state == net::Peer::State::kLost)) {
      std::cerr << "kragmoor-sim: " << peer.failure() << std::endl;
      return state == net::Peer::State::kRefused ? kBadUsageStatus : kLostStatus;
    }
    if (!retry) continue;
    const Micros now = transport->Now();
    if (lostAt < 0) {
      lostAt = now;
      std::cerr << "kragmoor-sim: " << peer.failure() << "; joining again" << std::endl;
    }
    if (now - lostAt > kRejoinFor) {
      std::cerr << "kragmoor-sim: the connection could not be made again" << std::endl;
      return kLostStatus;
    }
    if (now < retryAt) continue;
    retryAt = now + kRetryEvery;
    std::unique_ptr<net::Transport> again = net::ConnectEnet(host, port, kConnectWait, &error);
    if (!again) continue;
    peer.Reconnect(*again);
    transport = std::move(again);
  }
  const World& world = peer.session().world;
  if (bot.started) {
    bot.seat.Finish(peer.frames(), Places(world));
    bot.seat.Release(kBotEndGrace);
  }
  out << peer.end().lines;
  PrintMatchSummary(peer.session(), static_cast<int32_t>(peer.frames()), out);
  out.flush();
  if (peer.desync() || SyncHash(world) != peer.end().syncHash) return kDesyncStatus;
  return 0;
}

}  // namespace kragmoor
