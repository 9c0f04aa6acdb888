// The referee: connections, seats, the frames it closes and the desync
// reports. What a peer sends is checked here before anything uses it.
#include "game/net/referee.h"

#include <algorithm>
#include <sstream>

#include "game/bots/bot_protocol.h"
#include "game/input.h"
#include "game/may_order.h"
#include "game/net/desync.h"
#include "game/net/fingerprint.h"
#include "game/play.h"
#include "game/print.h"
#include "game/saved_game.h"

namespace kragmoor::net {

namespace {
std::string Hex(uint64_t v) { return FormatHash(v); }
}  // namespace

Referee::Referee(Transport& transport, const RefereeOptions& options,
                 const std::array<RefereeSeat, kSideCount>& seats)
    : transport_(transport), options_(options), seatPlan_(seats) {
  session_.world.seed = options.seed;
  for (int s = 0; s < kSideCount; ++s) {
    session_.computerPlayer[s] = seats[s].kind == RefereeSeat::Kind::kAi;
    if (session_.computerPlayer[s]) session_.level[s] = seats[s].level;
    players_.emplace_back();
    if (seats[s].kind == RefereeSeat::Kind::kPlayer) {
      players_[s] = std::make_unique<PlayerSeat>();
      players_[s]->code = seats[s].code;
    }
  }
  boxes_ = session_.computerPlayer;
  levels_ = session_.level;
  createdAt_ = transport_.Now();
}

Referee::~Referee() = default;

void Referee::StartBots(const std::function<void(const std::string&)>& errorLine) {
  std::vector<BotSeat*> started;
  for (int s = 0; s < kSideCount; ++s) {
    if (seatPlan_[s].kind != RefereeSeat::Kind::kBot) continue;
    bots_[s].onErrorLine = [errorLine, s](std::string_view line) {
      errorLine("side " + std::to_string(s + 1) + ": " + std::string(line));
    };
    std::string why;
    if (bots_[s].Start(seatPlan_[s].command, s, options_.timing, options_.frames, why)) {
      started.push_back(&bots_[s]);
    } else {
      errorLine("side " + std::to_string(s + 1) + ": cannot start the bot: " + why);
    }
  }
  BotSeat::WaitAll(started);
  const std::string body = TurnBody(session_.world, 0);
  for (BotSeat* bot : started) {
    if (bot->status() == "ok") bot->SendTurn(body, session_.world, 0);
  }
}

void Referee::Send(ConnectionId id, const Message& message) {
  const std::vector<uint8_t> bytes = Encode(message);
  transport_.Send(id, bytes);
}

void Referee::SendToAll(const Message& message) {
  const std::vector<uint8_t> bytes = Encode(message);
  for (const auto& [id, c] : connections_) {
    if (c->seat >= 0) transport_.Send(id, bytes);
  }
}

void Referee::SendState(ConnectionId id) {
  std::vector<StateChunk> chunks;
  std::string why;
  if (!SessionChunks(session_, static_cast<uint64_t>(frames_), chunks, why)) {
    if (onLine) onLine("kragmoor-sim: cannot send the state: " + why);
    return;
  }
  for (StateChunk& chunk : chunks) Send(id, std::move(chunk));
}

void Referee::Close(Connection& c, RefuseReason reason, const std::string& why) {
  Send(c.id, Refuse{reason, why, kProtocolVersion, SimulationFingerprint()});
  transport_.Disconnect(c.id);
  if (onLine) onLine("peer at " + c.address + " ended: " + why);
  Gone(c.id);
}

void Referee::Gone(ConnectionId id) {
  const auto it = connections_.find(id);
  if (it == connections_.end()) return;
  const int seat = it->second->seat;
  if (gate != nullptr) gate->Disconnect(id);
  connections_.erase(it);
  if (seat >= 0 && seat < kSideCount && players_[seat] && players_[seat]->connection == id) {
    players_[seat]->connection = 0;
    if (started_ && !over_) Drop(seat);
  }
}

void Referee::Handle(NetEvent event) {
  const Micros now = transport_.Now();
  if (event.kind == NetEvent::Kind::kConnected) {
    if (gate != nullptr && !gate->Connect(event.connection, event.address, now)) {
      Send(event.connection, Refuse{RefuseReason::kFull, "too many connections from this address",
                                    kProtocolVersion, SimulationFingerprint()});
      transport_.Disconnect(event.connection);
      return;
    }
    auto c = std::make_unique<Connection>();
    c->id = event.connection;
    c->address = event.address;
    c->lastHeard = now;
    connections_[event.connection] = std::move(c);
    return;
  }
  const auto it = connections_.find(event.connection);
  if (it == connections_.end()) return;
  Connection& c = *it->second;
  if (event.kind == NetEvent::Kind::kDisconnected) {
    if (onLine && c.seat >= 0 && c.seat < kSideCount) {
      onLine("seat " + std::to_string(c.seat + 1) + ": connection lost");
    }
    return Gone(c.id);
  }
  if (gate != nullptr && !gate->Message(c.id, now)) {
    return Close(c, RefuseReason::kBadMessage, "too many messages a second");
  }
  Message message;
  std::string why;
  if (!Decode(event.bytes, message, why)) return Close(c, RefuseReason::kBadMessage, why);
  c.lastHeard = now;
  HandleMessage(c, message);
}

void Referee::HandleMessage(Connection& c, const Message& message) {
  if (const auto* hello = std::get_if<Hello>(&message)) return HandleHello(c, *hello);
  if (c.seat < 0) return Close(c, RefuseReason::kBadMessage, "out of turn: a hello comes first");
  if (const auto* ping = std::get_if<Ping>(&message)) {
    if (!ping->pong) Send(c.id, Ping{ping->stamp, true});
    return;
  }
  const bool player = c.seat < kSideCount;
  if (const auto* inputs = std::get_if<Inputs>(&message); inputs != nullptr && player) {
    if (c.queued.size() + inputs->orders.size() > kMaxQueuedOrders) {
      return Close(c, RefuseReason::kBadMessage, "more orders than a frame can take");
    }
    c.queued.insert(c.queued.end(), inputs->orders.begin(), inputs->orders.end());
    return;
  }
  if (const auto* name = std::get_if<Name>(&message); name != nullptr && player) {
    players_[c.seat]->name = ShownName(name->name);
    rosterDue_ = true;
    return;
  }
  if (const auto* sync = std::get_if<Sync>(&message); sync != nullptr && player) {
    return HandleSync(c, *sync);
  }
  if (const auto* chunk = std::get_if<StateChunk>(&message); chunk != nullptr && player) {
    return HandleReply(c, *chunk);
  }
  Close(c, RefuseReason::kBadMessage,
        player ? "out of turn: a referee's message from a peer" : "a watcher sends nothing");
}

void Referee::HandleHello(Connection& c, const Hello& hello) {
  const auto refuse = [&](RefuseReason reason, const std::string& why) { Close(c, reason, why); };
  if (c.seat >= 0) return refuse(RefuseReason::kBadMessage, "out of turn: a second hello");
  if (hello.protocol != kProtocolVersion || hello.fingerprint != SimulationFingerprint()) {
    return refuse(RefuseReason::kVersion,
                  "another version: referee protocol " + std::to_string(kProtocolVersion) +
                      " simulation " + Hex(SimulationFingerprint()) + ", peer protocol " +
                      std::to_string(hello.protocol) + " simulation " + Hex(hello.fingerprint));
  }
  if (over_) return refuse(RefuseReason::kOver, "the match is over");
  Welcome welcome{kWatcherSeat,
                  options_.seed,
                  options_.frames,
                  options_.timing.turn,
                  options_.timing.budgetMs,
                  options_.timing.overtimeMs};
  if (hello.watch) {
    const auto watching =
        std::count_if(connections_.begin(), connections_.end(),
                      [](const auto& e) { return e.second->seat == kWatcherSeat; });
    if (watching >= options_.watchers) return refuse(RefuseReason::kFull, "no more watchers");
    c.seat = kWatcherSeat;
    Send(c.id, welcome);
    SendState(c.id);
    return;
  }
  int seat = -1;
  for (int s = 0; s < kSideCount; ++s) {
    if (players_[s] && !hello.code.empty() && players_[s]->code == hello.code) seat = s;
  }
  if (seat < 0) return refuse(RefuseReason::kCode, "no seat has that code");
  PlayerSeat& p = *players_[seat];
  if (p.connection != 0) {
    const auto holder = connections_.find(p.connection);
    if (holder != connections_.end() &&
        transport_.Now() - holder->second->lastHeard < kHolderAlive) {
      return refuse(RefuseReason::kTaken, "seat " + std::to_string(seat + 1) + " is taken");
    }
    // The holder has gone quiet: a new program with its code takes over.
    transport_.Disconnect(p.connection);
    if (holder != connections_.end()) {
      if (gate != nullptr) gate->Disconnect(holder->first);
      connections_.erase(holder);
    }
    p.connection = 0;
  }
  p.connection = c.id;
  p.rejoined = p.rejoined || p.joined;
  p.joined = true;
  p.name = ShownName(hello.name);
  p.ignoreSyncUpTo = frames_;
  p.desyncFrame = -1;
  c.seat = seat;
  welcome.seat = static_cast<uint8_t>(seat);
  Send(c.id, welcome);
  SendState(c.id);
  if (onLine) {
    onLine("seat " + std::to_string(seat + 1) + ": " + (p.rejoined ? "rejoined" : "joined") +
           " from " + c.address);
  }
  rosterDue_ = true;
  if (p.dropped) Back(seat);
}

void Referee::HandleSync(Connection& c, const Sync& sync) {
  PlayerSeat& p = *players_[c.seat];
  if (sync.frame % kSyncEvery != 0 || sync.frame == 0 ||
      sync.frame > static_cast<uint64_t>(frames_)) {
    return Close(c, RefuseReason::kBadMessage, "out of turn: a sync hash of a frame not closed");
  }
  const auto frame = static_cast<int64_t>(sync.frame);
  if (p.desyncFrame >= 0 || frame <= p.ignoreSyncUpTo) return;
  const auto ours = syncHashes_.find(frame);
  if (ours == syncHashes_.end() || ours->second == sync.hash) return;
  p.desyncFrame = frame;
  p.peerHash = sync.hash;
  p.askedAt = transport_.Now();
  const auto state = syncStates_.find(frame);
  p.refereeState = state != syncStates_.end() ? std::make_unique<Session>(state->second) : nullptr;
  c.reply.Clear();
  Send(c.id, StateRequest{sync.frame});
}

void Referee::HandleReply(Connection& c, StateChunk chunk) {
  PlayerSeat& p = *players_[c.seat];
  if (p.desyncFrame < 0 || chunk.frame != static_cast<uint64_t>(p.desyncFrame)) {
    return Close(c, RefuseReason::kBadMessage, "out of turn: a state not asked for");
  }
  std::string why;
  if (!c.reply.Add(std::move(chunk), why)) return Close(c, RefuseReason::kBadMessage, why);
  if (!c.reply.complete()) return;
  Session peer;
  const bool read = LoadSavedGameText(c.reply.text(), peer, why);
  if (!read && onLine) onLine("seat " + std::to_string(c.seat + 1) + ": its state: " + why);
  ReportDesync(c.seat, read ? &peer : nullptr, read ? c.reply.text() : "");
  c.reply.Clear();
}

void Referee::ReportDesync(int seat, const Session* peer, const std::string& peerText) {
  PlayerSeat& p = *players_[seat];
  const int64_t frame = p.desyncFrame;
  std::vector<std::string> differences;
  if (peer != nullptr && p.refereeState) {
    differences = DifferingFields(p.refereeState->world, peer->world);
  }
  if (differences.empty()) {
    differences.push_back("sync hash: referee " + Hex(syncHashes_[frame]) + ", peer " +
                          Hex(p.peerHash));
  }
  const std::string lines = ReportLines(frame, seat, differences);
  if (onLine) {
    std::istringstream in(lines);
    for (std::string line; std::getline(in, line);) onLine(line);
  }
  const bool saved = saveFile && (p.refereeState || peer != nullptr);
  SendToAll(DesyncReport{static_cast<uint64_t>(frame), static_cast<uint8_t>(seat), lines,
                         saved && filesFolder.size() <= kMaxFolderBytes && IsPrintable(filesFolder)
                             ? filesFolder
                             : std::string()});
  std::string text, why;
  if (saveFile && p.refereeState && SavedGameText(*p.refereeState, text, why)) {
    saveFile(RefereeStateName(frame), text);
  }
  if (saveFile && peer != nullptr) saveFile(PeerStateName(frame, seat), peerText);
  p.desync = true;
  p.desyncFrame = -1;
  p.refereeState.reset();
  p.ignoreSyncUpTo = frames_;
  if (p.connection != 0) SendState(p.connection);
}

void Referee::Drop(int seat) {
  PlayerSeat& p = *players_[seat];
  if (p.dropped) return;
  p.dropped = true;
  rosterDue_ = true;
  if (onLine) onLine("seat " + std::to_string(seat + 1) + ": dropped");
  SendToAll(Notice{static_cast<uint8_t>(seat), Notice::What::kDropped});
  if (p.pausedOut) return;
  switch (options_.dropped.kind) {
    case DroppedPlay::Kind::kAi:
      boxes_[seat] = true;
      levels_[seat] = options_.dropped.level;
      break;
    case DroppedPlay::Kind::kNone:
      break;
    case DroppedPlay::Kind::kPause:
      if (!paused_) {
        paused_ = true;
        rosterDue_ = true;
        pausedAt_ = transport_.Now();
        SendToAll(Notice{static_cast<uint8_t>(seat), Notice::What::kPaused});
      }
      break;
  }
}

void Referee::Back(int seat) {
  PlayerSeat& p = *players_[seat];
  p.dropped = false;
  rosterDue_ = true;
  boxes_[seat] = false;
  SendToAll(Notice{static_cast<uint8_t>(seat), Notice::What::kBack});
  Resume(false);
}

void Referee::Resume(bool limitReached) {
  if (!paused_) return;
  bool someoneAway = false;
  for (int s = 0; s < kSideCount; ++s) {
    if (!players_[s] || !players_[s]->dropped || players_[s]->pausedOut) continue;
    if (limitReached) {
      players_[s]->pausedOut = true;
    } else {
      someoneAway = true;
    }
  }
  if (someoneAway) return;
  paused_ = false;
  rosterDue_ = true;
  Reanchor();
  SendToAll(Notice{0, Notice::What::kResumed});
}

void Referee::CheckSilence() {
  const Micros now = transport_.Now();
  std::vector<ConnectionId> silent;
  for (const auto& [id, c] : connections_) {
    if (now - c->lastHeard > kSilentDrop) silent.push_back(id);
  }
  for (const ConnectionId id : silent) {
    transport_.Disconnect(id);
    if (onLine) onLine("connection " + std::to_string(id) + ": silent for 5 s");
    Gone(id);
  }
  for (int s = 0; s < kSideCount; ++s) {
    if (players_[s] && players_[s]->desyncFrame >= 0 &&
        now - players_[s]->askedAt > kStateReplyWait) {
      ReportDesync(s, nullptr, "");
    }
  }
  if (paused_ && now - pausedAt_ > kPauseLimit) Resume(true);
}

bool Referee::Started() const {
  for (int s = 0; s < kSideCount; ++s) {
    if (players_[s] && players_[s]->connection == 0) return false;
  }
  return true;
}

Micros Referee::FramePeriod() const {
  return speed_ >= 0 ? kFrameMicros >> speed_ : kFrameMicros << -speed_;
}

void Referee::Reanchor() {
  anchorAt_ = transport_.Now();
  anchorFrames_ = frames_;
}

void Referee::SetPace(bool paused, int speed) {
  speed = std::clamp(speed, kSlowestPace, kFastestPace);
  if (paused == hostPaused_ && speed == speed_) return;
  // A resumed game or a new speed counts its frames from now, so that
  // neither catches up the time it was paused or ran at the old speed.
  hostPaused_ = paused;
  speed_ = speed;
  Reanchor();
  rosterDue_ = true;
}

Micros Referee::NextFrameAt() const {
  if (!started_ || paused_ || hostPaused_) return transport_.Now() + FramePeriod();
  return anchorAt_ + (frames_ - anchorFrames_) * FramePeriod();
}

Roster Referee::RosterNow() const {
  Roster roster;
  for (int s = 0; s < kSideCount; ++s) {
    RosterSeat& out = roster.seats[s];
    switch (seatPlan_[s].kind) {
      case RefereeSeat::Kind::kAi:
        out.kind = RosterSeat::Kind::kAi;
        out.level = static_cast<uint8_t>(std::clamp(seatPlan_[s].level, 1, 3));
        break;
      case RefereeSeat::Kind::kNone:
        out.kind = RosterSeat::Kind::kNone;
        break;
      case RefereeSeat::Kind::kBot:
        out.kind = RosterSeat::Kind::kBot;
        break;
      case RefereeSeat::Kind::kPlayer:
        out.kind = RosterSeat::Kind::kPlayer;
        break;
    }
    if (!players_[s]) continue;
    const PlayerSeat& p = *players_[s];
    out.taken = p.connection != 0;
    out.dropped = p.dropped;
    out.name = p.name;
    if (p.connection != 0) {
      out.roundTripMs = static_cast<uint32_t>(
          std::clamp<Micros>(transport_.RoundTrip(p.connection) / 1000, 0, UINT32_MAX));
    }
  }
  roster.started = started_;
  roster.paused = hostPaused_;
  roster.waiting = paused_;
  roster.speed = speed_;
  const auto watching = std::count_if(connections_.begin(), connections_.end(),
                                      [](const auto& e) { return e.second->seat == kWatcherSeat; });
  roster.watchers = static_cast<uint16_t>(std::min<int64_t>(watching, UINT16_MAX));
  roster.droppedPlay = options_.dropped.kind == DroppedPlay::Kind::kAi     ? 0
                       : options_.dropped.kind == DroppedPlay::Kind::kNone ? 1
                                                                           : 2;
  return roster;
}

void Referee::Advance() {
  while (auto event = transport_.Poll(0)) Handle(std::move(*event));
  CheckSilence();
  const Micros now = transport_.Now();
  if (now - lastPing_ >= kPingEvery) {
    lastPing_ = now;
    SendToAll(Ping{static_cast<uint64_t>(now), false});
    rosterDue_ = true;
  }
  if (!over_ && !started_ && (startNow_ || Started() || now - createdAt_ >= options_.wait)) {
    started_ = true;
    rosterDue_ = true;
    Reanchor();
    for (int s = 0; s < kSideCount; ++s) {
      if (players_[s] && players_[s]->connection == 0) Drop(s);
    }
  }
  if (rosterDue_) {
    rosterDue_ = false;
    SendToAll(RosterNow());
  }
  if (over_) return;
  while (started_ && !paused_ && !hostPaused_ && !over_ && NextFrameAt() <= now) CloseFrame();
}

}  // namespace kragmoor::net
