// kragmoor-sim serve: referees a network game over ENet. Seats are the
// arena's (ai, ai:L, none, a bot command) or `player`, a seat for a peer
// that joins with the code printed for it; at the end it prints what the
// arena prints, a `peer` line for each player seat.
#include "runner/serve.h"

#include <csignal>
#include <iostream>
#include <sstream>

#include "game/match.h"
#include "game/net/referee.h"
#include "game/net/seat_words.h"
#include "game/platform/enet_transport.h"
#include "game/platform/files.h"
#include "game/platform/join_code.h"
#include "game/quote.h"
#include "game/recorder.h"
#include "game/saved_game.h"
#include "runner/arena.h"
#include "runner/command_line.h"
#include "game/net/net_gate.h"

namespace kragmoor {

namespace {

using net::Micros;

constexpr uint16_t kDefaultPort = 27467;
constexpr Micros kFlushEvery = 1'000'000;  // the recording, at least once a second
constexpr Micros kEndLinger = 1'000'000;   // the end message's time to reach the peers

volatile std::sig_atomic_t stopRequested = 0;
void RequestStop(int) { stopRequested = 1; }

struct ServeOptions {
  ArenaOptions arena;
  uint16_t port = kDefaultPort;
  std::string bind;
  int32_t waitSeconds = 300;
  net::DroppedPlay dropped;
  int32_t watchers = 8;
  std::string files = ".";
};

std::vector<Option> ServeOptionList(ServeOptions& o) {
  o.arena.frames = 0;  // serve's default: until one side is left
  std::vector<Option> list = ArenaOptionList(o.arena);
  list.push_back({"--port", [&](std::string_view v) {
                    return ParseWhole<uint16_t>(v, 0, UINT16_MAX, o.port);
                  }});
  list.push_back({"--bind", [&](std::string_view v) {
                    o.bind = v;
                    return !v.empty();
                  }});
  list.push_back({"--wait", [&](std::string_view v) {
                    return ParseWhole<int32_t>(v, 0, 24 * 3600, o.waitSeconds);
                  }});
  list.push_back({"--dropped", [&](std::string_view v) {
                    return net::ParseDroppedPlay(std::string(v), o.dropped);
                  }});
  list.push_back({"--watchers",
                  [&](std::string_view v) { return ParseWhole<int32_t>(v, 0, 1000, o.watchers); }});
  list.push_back({"--files", [&](std::string_view v) {
                    o.files = v;
                    return !v.empty();
                  }});
  return list;
}

// The arena's seat lines, with a `peer` line in place of each player seat's.
std::string SeatLines(const net::Referee& referee, const std::array<net::RefereeSeat, 3>& plan) {
  ArenaResult result;
  const auto peers = referee.PeerResults();
  for (int s = 0; s < kSideCount; ++s) {
    if (plan[s].kind == net::RefereeSeat::Kind::kBot) result.seats[s] = ResultOf(referee.bots()[s]);
    if (plan[s].kind == net::RefereeSeat::Kind::kAi) result.seats[s].status = "ai";
    if (plan[s].kind == net::RefereeSeat::Kind::kNone) result.seats[s].status = "none";
  }
  result.places = Places(referee.session().world);
  std::ostringstream arena;
  PrintSeatLines(result, arena);
  std::istringstream in(arena.str());
  std::string out;
  std::string line;
  for (int s = 0; std::getline(in, line); ++s) {
    if (s < kSideCount && plan[s].kind == net::RefereeSeat::Kind::kPlayer) {
      const net::PeerResult& p = peers[s];
      line = "peer " + std::to_string(s + 1) + " name=\"" + p.name + "\" status=" + p.status +
             " orders=" + std::to_string(p.orders) + " refused=" + std::to_string(p.refused);
    }
    out += line + '\n';
  }
  return out;
}

}  // namespace

int ServeCommand(int argc, char** argv, std::ostream& out) {
  ServeOptions options;
  std::vector<std::string_view> words;
  if (const auto done = ReadOptions(argc, argv, ServeOptionList(options), &words, out)) {
    return *done;
  }
  if (words.size() != kSideCount) return Usage("'serve' takes three sides");
  std::array<net::RefereeSeat, kSideCount> plan;
  std::string error;
  for (int s = 0; s < kSideCount; ++s) {
    bool me = false;
    if (!net::ParseHostSide(std::string(words[s]), plan[s], me) || me) {
      return Usage("bad side " + Quoted(words[s]));
    }
    if (plan[s].kind == net::RefereeSeat::Kind::kPlayer && !NewJoinCode(plan[s].code, error)) {
      return Usage(error);
    }
  }
  net::EnetListenOptions listen;
  listen.bind = options.bind;
  listen.port = options.port;
  listen.maxConnections = static_cast<size_t>(options.watchers) + 16;
  uint16_t port = 0;
  std::unique_ptr<net::Transport> transport = net::ListenEnet(listen, &port, &error);
  if (!transport) return Usage("cannot listen: " + error);

  net::RefereeOptions referee_options;
  referee_options.seed = options.arena.seed;
  referee_options.frames = options.arena.frames;
  referee_options.timing = {options.arena.turn, options.arena.budgetMs, options.arena.overtimeMs,
                            options.arena.seed};
  referee_options.wait = Micros{options.waitSeconds} * 1'000'000;
  referee_options.dropped = options.dropped;
  referee_options.watchers = options.watchers;
  net::Referee referee(*transport, referee_options, plan);
  const auto line = [](const std::string& text) { std::cerr << text << std::endl; };
  referee.onLine = line;
  const std::string files = options.files;
  referee.saveFile = [files, line](const std::string& name, const std::string& text) {
    std::string why;
    if (!WriteFileAtomically(files + "/" + name, text, kSaveFormat, why)) {
      line("kragmoor-sim: " + why);
    }
  };
  NetGate gate;
  referee.gate = &gate;

  RecordingFile recording;
  const bool recorded = !options.arena.recordPath.empty();
  if (recorded) {
    if (!recording.Open(options.arena.recordPath, referee.session(), error)) return Usage(error);
    referee.Record(&recording.recorder());
  }
  for (int s = 0; s < kSideCount; ++s) {
    if (plan[s].kind == net::RefereeSeat::Kind::kPlayer) {
      out << "seat " << s + 1 << " code=" << plan[s].code << '\n';
    }
  }
  out << "listening on " << (options.bind.empty() ? "0.0.0.0" : options.bind) << ':' << port
      << '\n';
  out.flush();
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
  referee.StartBots(line);

  Micros flushed = transport->Now();
  bool recording_ok = recorded;
  while (!referee.over() && stopRequested == 0) {
    const Micros wait = std::max<Micros>(0, referee.NextFrameAt() - transport->Now());
    if (auto event = transport->Poll(std::min<Micros>(wait, 5'000))) referee.Take(*event);
    referee.Advance();
    if (recording_ok && transport->Now() - flushed >= kFlushEvery) {
      flushed = transport->Now();
      if (!recording.Flush(error)) {
        line("kragmoor-sim: " + error);
        recording_ok = false;
        referee.Record(nullptr);
      }
    }
  }
  referee.EndBots();
  const std::string lines = SeatLines(referee, plan);
  referee.SendEnd(lines);
  const Micros until = transport->Now() + kEndLinger;
  while (transport->Now() < until) {
    if (auto event = transport->Poll(until - transport->Now())) referee.Take(*event);
  }
  out << lines;
  PrintMatchSummary(referee.session(), static_cast<int32_t>(referee.frames()), out);
  out.flush();
  if (recording_ok && !recording.Finish(referee.session(), error)) {
    line("kragmoor-sim: " + error);
    return 1;
  }
  return recorded && !recording_ok ? 1 : 0;
}

}  // namespace kragmoor
