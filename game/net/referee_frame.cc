// The referee's frame: the inputs it applies (each order checked by the one
// owner check at the moment it is applied), the step, what each peer is
// sent, the sync states it keeps, and the end of the match.
#include <sstream>

#include "game/bots/bot_protocol.h"
#include "game/input.h"
#include "game/may_order.h"
#include "game/net/referee.h"
#include "game/play.h"

namespace kragmoor::net {

namespace {
constexpr size_t kKeptSyncHashes = 4096;  // 41 s of sync frames
constexpr std::chrono::milliseconds kBotEndGrace{1000};

// Whether one side at most has a live peasant or base.
bool OneSideLeft(const World& world) {
  std::array<bool, kSideCount> alive{};
  for (const Tigrok& t : world.entities) {
    if (IsLive(t) && t.kind != kKindMine && IsSide(t.owner)) alive[t.owner] = true;
  }
  int left = 0;
  for (const bool a : alive) left += a ? 1 : 0;
  return left <= 1;
}

template <typename Map>
void KeepLast(Map& map, size_t count) {
  while (map.size() > count) map.erase(map.begin());
}
}  // namespace

void Referee::CloseFrame() {
  Frame frame;
  frame.frame = static_cast<uint64_t>(frames_ + 1);
  if (boxes_ != session_.computerPlayer) {
    FrameInput in;
    in.kind = FrameInput::Kind::kBoxes;
    for (int s = 0; s < kSideCount; ++s) in.values[s] = boxes_[s] ? 1 : 0;
    Apply(session_, ComputerPlayers{boxes_}, front_);
    frame.inputs.push_back(in);
  }
  if (levels_ != session_.level) {
    FrameInput in;
    in.kind = FrameInput::Kind::kLevels;
    for (int s = 0; s < kSideCount; ++s) in.values[s] = static_cast<uint8_t>(levels_[s]);
    Apply(session_, Levels{levels_}, front_);
    frame.inputs.push_back(in);
  }
  std::map<ConnectionId, std::vector<std::string>> refusals;
  for (int s = 0; s < kSideCount; ++s) {
    const auto give = [&](const WireOrder& order) {
      Apply(session_, Order{order.slot, order.text}, front_);
      frame.inputs.push_back(FrameInput{FrameInput::Kind::kOrder, static_cast<uint8_t>(s), order});
    };
    if (seatPlan_[s].kind == RefereeSeat::Kind::kBot && bots_[s].playing()) {
      bots_[s].Poll();
      for (const BotOrder& order : bots_[s].TakeAnswer(session_.world)) {
        if (frame.inputs.size() >= kMaxInputsPerFrame) break;
        give(WireOrder{order.slot, order.text});
        bots_[s].Given(session_.world, order.slot);
      }
    }
    if (!players_[s] || players_[s]->connection == 0) continue;
    PlayerSeat& p = *players_[s];
    Connection& c = *connections_.at(p.connection);
    size_t taken = 0;
    for (; taken < c.queued.size() && frame.inputs.size() < kMaxInputsPerFrame; ++taken) {
      const WireOrder& order = c.queued[taken];
      std::string why;
      if (!IsOrderText(order.text, why)) {
        c.refusals.push_back("slot " + std::to_string(order.slot) + ": " + why);
      } else if (!MayOrder(session_.world, s, order.slot)) {
        c.refusals.push_back("slot " + std::to_string(order.slot) +
                             " is not a live entity of side " + std::to_string(s + 1));
      } else {
        give(order);
        ++p.result.orders;
        continue;
      }
      ++p.result.refused;
    }
    c.queued.erase(c.queued.begin(), c.queued.begin() + static_cast<ptrdiff_t>(taken));
  }
  std::ostringstream errors;
  StepFrame(session_, front_, errors);
  ++frames_;
  const std::vector<uint8_t> shared = Encode(frame);
  for (auto& [id, c] : connections_) {
    if (c->seat < 0) continue;
    if (c->refusals.empty()) {
      transport_.Send(id, shared);
      continue;
    }
    Frame own = frame;
    const size_t n = std::min(c->refusals.size(), kMaxRefusalsPerFrame);
    own.refusals.assign(c->refusals.begin(), c->refusals.begin() + static_cast<ptrdiff_t>(n));
    c->refusals.erase(c->refusals.begin(), c->refusals.begin() + static_cast<ptrdiff_t>(n));
    Send(id, own);
  }
  if (frames_ % kSyncEvery == 0) {
    syncHashes_[frames_] = SyncHash(session_.world);
    syncStates_[frames_] = session_;
    KeepLast(syncHashes_, kKeptSyncHashes);
    KeepLast(syncStates_, kKeptSyncStates);
  }
  for (int s = 0; s < kSideCount; ++s) {
    BotSeat& bot = bots_[s];
    if (seatPlan_[s].kind != RefereeSeat::Kind::kBot || bot.status() != "ok" || bot.awaiting() ||
        frames_ % options_.timing.turn != 0) {
      continue;
    }
    bot.SendTurn(TurnBody(session_.world, frames_), session_.world, frames_);
  }
  over_ = options_.frames > 0 ? frames_ >= options_.frames : OneSideLeft(session_.world);
  RecordBotEnds(false);
}

void Referee::RecordBotEnds(bool all) {
  for (int s = 0; s < kSideCount; ++s) {
    if (seatPlan_[s].kind != RefereeSeat::Kind::kBot || botEndRecorded_[s] ||
        (bots_[s].playing() && !all)) {
      continue;
    }
    botEndRecorded_[s] = true;
    if (front_.recorder != nullptr) {
      front_.recorder->Comment("bot " + std::to_string(s + 1) + ' ' + bots_[s].StatusWords());
    }
  }
}

void Referee::EndBots() {
  const std::array<int, kSideCount> places = Places(session_.world);
  for (BotSeat& bot : bots_) bot.Finish(frames_, places);
  for (BotSeat& bot : bots_) bot.Release(kBotEndGrace);
  RecordBotEnds(true);
}

void Referee::SendEnd(const std::string& lines) {
  over_ = true;
  SendToAll(net::End{static_cast<uint64_t>(frames_), SyncHash(session_.world), lines});
}

std::array<PeerResult, kSideCount> Referee::PeerResults() const {
  std::array<PeerResult, kSideCount> out;
  for (int s = 0; s < kSideCount; ++s) {
    if (!players_[s]) continue;
    const PlayerSeat& p = *players_[s];
    out[s] = p.result;
    out[s].name = p.name;
    out[s].status = p.desync                 ? "desync"
                    : p.dropped || !p.joined ? "dropped"
                    : p.rejoined             ? "rejoined"
                                             : "ok";
  }
  return out;
}

}  // namespace kragmoor::net
