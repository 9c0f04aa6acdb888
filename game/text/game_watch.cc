// The game watch: outcome, summaries, standstill and alerts.
#include "game/text/game_watch.h"

#include "sim/control.h"
#include "world/orders.h"
#include "world/rules.h"

namespace kragmoor {

namespace {

constexpr int64_t kFramesPerSecond = 100;  // the 10 ms frame timer
constexpr int64_t kNever = -1;

bool IsUnit(int32_t kind) { return kind == kKindPeasant || kind == kKindBase; }

// Indices into lastSideAlert_.
constexpr int kUnderAttackAlert = 0;
constexpr int kLostAlert = 1;
constexpr int kIdleAlert = 2;

std::string Side(int side) { return std::to_string(side + 1); }

}  // namespace

void GameWatch::Observe(const World& world, int64_t frame,
                        const std::array<bool, kSideCount>& computerPlayer) {
  const std::array<bool, kSideCount> live = LiveSides(world);
  if (!started_) {
    started_ = true;
    lastActivity_ = frame;
    lastAttackAlert_.fill(kNever);
    for (auto& sides : lastSideAlert_) sides.fill(kNever);
    for (int side = 0; side < kSideCount; ++side) {
      if (!live[side]) summaries_[side].outAtFrame = frame;
    }
  } else {
    bool active = false;
    for (int i = 0; i < kSlotCount; ++i) {
      const Tigrok& t = world.entities[i];
      const Seen& was = seen_[i];
      const bool isLive = IsLive(t);
      const bool ownerIsSide = IsSide(t.owner);
      const bool players = ownerIsSide && !computerPlayer[t.owner];
      const bool idle = t.order == kOrderIdle;
      if (was.live && isLive) {
        if (t.hp < was.hp) {
          active = true;
          const bool playerBase = t.kind == kKindBase && players;
          if (playerBase && (lastAttackAlert_[i] == kNever ||
                             frame - lastAttackAlert_[i] >= kAttackAlertFrames)) {
            lastAttackAlert_[i] = frame;
            events_.push_back({frame, EventKind::kBaseUnderAttack, t.owner, i, t.x, t.y});
          }
          if (t.kind == kKindPeasant && players) {
            Alert(lastSideAlert_[kUnderAttackAlert][t.owner], kPeasantAlertFrames,
                  {frame, EventKind::kPeasantUnderAttack, t.owner, i, t.x, t.y});
          }
        }
        if (t.kind == kKindPeasant && players && idle && !was.idle) {
          Alert(lastSideAlert_[kIdleAlert][t.owner], kPeasantAlertFrames,
                {frame, EventKind::kPeasantIdle, t.owner, i, t.x, t.y});
        }
        // The computer player's go-home mark sets a carried gold of 1: not mined.
        if (t.kind == kKindPeasant && ownerIsSide && int64_t{t.gold} > int64_t{was.gold} + 1) {
          active = true;
          summaries_[t.owner].goldMined += int64_t{t.gold} - was.gold;
        }
        if (t.kind == kKindMine && was.gold >= kMinimumStock && t.gold < kMinimumStock) {
          events_.push_back({frame, EventKind::kMineEmpty, -1, i});
        }
      }
      if (!was.live && isLive && ownerIsSide) {
        lastAttackAlert_[i] = kNever;
        if (t.kind == kKindPeasant) {
          ++summaries_[t.owner].peasantsTrained;
          if (!computerPlayer[t.owner])
            events_.push_back({frame, EventKind::kPeasantTrained, t.owner, i});
        }
        if (t.kind == kKindBase) ++summaries_[t.owner].basesBuilt;
      }
      if (was.live && !isLive && IsUnit(was.kind) && IsSide(was.owner)) {
        ++summaries_[was.owner].entitiesLost;
        if (!computerPlayer[was.owner] && was.kind == kKindBase) {
          events_.push_back({frame, EventKind::kBaseDestroyed, was.owner, i, t.x, t.y});
        } else if (!computerPlayer[was.owner]) {
          Alert(lastSideAlert_[kLostAlert][was.owner], kLossAlertFrames,
                {frame, EventKind::kPeasantLost, was.owner, i, t.x, t.y});
        }
      }
    }
    for (int side = 0; side < kSideCount; ++side) {
      if (world.players[side].gold < purses_[side]) active = true;  // spent
      if (!live[side] && summaries_[side].outAtFrame == kNever) {
        summaries_[side].outAtFrame = frame;
        events_.push_back({frame, EventKind::kSideOut, side, -1});
      }
    }
    if (active) lastActivity_ = frame;
  }
  for (int i = 0; i < kSlotCount; ++i) {
    const Tigrok& t = world.entities[i];
    seen_[i] = {IsLive(t), t.kind, t.owner, t.hp, t.gold, t.order == kOrderIdle};
  }
  for (int side = 0; side < kSideCount; ++side) purses_[side] = world.players[side].gold;
  standstill_ = frame - lastActivity_ >= kStandstillFrames;

  if (over_) return;
  int left = 0;
  int last = -1;
  bool anyPlayer = false;
  bool playerIn = false;
  for (int side = 0; side < kSideCount; ++side) {
    if (live[side]) ++left, last = side;
    if (!computerPlayer[side]) {
      anyPlayer = true;
      playerIn = playerIn || live[side];
    }
  }
  if (left <= 1 || (anyPlayer && !playerIn)) {
    over_ = true;
    winner_ = left == 1 ? last : -1;
    events_.push_back({frame, EventKind::kGameOver, winner_, -1});
  }
}

void GameWatch::Alert(int64_t& last, int64_t gap, const GameEvent& event) {
  if (last != kNever && event.frame - last < gap) return;
  last = event.frame;
  events_.push_back(event);
}

std::vector<GameEvent> GameWatch::TakeEvents() {
  std::vector<GameEvent> taken;
  taken.swap(events_);
  return taken;
}

std::string EventText(const GameEvent& event, Language language) {
  const bool ru = language == Language::kRussian;
  const std::string slot = std::to_string(event.slot);
  switch (event.kind) {
    case EventKind::kBaseUnderAttack:
      return ru ? "Ваша база атакована" : "Your base is under attack";
    case EventKind::kPeasantTrained:
      return ru ? "Обучен крестьянин " + slot : "Peasant " + slot + " trained";
    case EventKind::kMineEmpty:
      return ru ? "Золотая шахта " + slot + " пуста" : "Gold mine " + slot + " is empty";
    case EventKind::kSideOut:
      return ru ? "Сторона " + Side(event.side) + " выбыла"
                : "Side " + Side(event.side) + " is out";
    case EventKind::kPeasantUnderAttack:
      return ru ? "Ваш крестьянин " + slot + " атакован"
                : "Your peasant " + slot + " is under attack";
    case EventKind::kPeasantLost:
      return ru ? "Ваш крестьянин " + slot + " погиб" : "Your peasant " + slot + " was killed";
    case EventKind::kBaseDestroyed:
      return ru ? "Ваша база " + slot + " разрушена" : "Your base " + slot + " was destroyed";
    case EventKind::kPeasantIdle:
      return ru ? "Крестьянин " + slot + " без дела" : "Peasant " + slot + " is idle";
    case EventKind::kGameOver:
      if (event.side == -1) return ru ? "Игра окончена: победителя нет" : "Game over: no winner";
      return ru ? "Победила сторона " + Side(event.side) : "Side " + Side(event.side) + " won";
  }
  return {};
}

std::string StandstillText(Language language) {
  return language == Language::kRussian ? "Игра стоит на месте: пять минут никто не добывает, "
                                          "не тратит и не ранит"
                                        : "The game is at a standstill: nothing mined, spent or "
                                          "hurt for five minutes";
}

std::string SummaryText(const SideSummary& summary, int side, int64_t frame, Language language) {
  const int64_t end = summary.outAtFrame == kNever ? frame : summary.outAtFrame;
  const int64_t seconds = end / kFramesPerSecond;
  const std::string clock = std::to_string(seconds / 60) + ':' + (seconds % 60 < 10 ? "0" : "") +
                            std::to_string(seconds % 60);
  if (language == Language::kRussian) {
    return "Сторона " + Side(side) + ": добыто золота " + std::to_string(summary.goldMined) +
           ", обучено крестьян " + std::to_string(summary.peasantsTrained) + ", построено баз " +
           std::to_string(summary.basesBuilt) + ", потеряно " +
           std::to_string(summary.entitiesLost) + ", время " + clock;
  }
  return "Side " + Side(side) + ": gold mined " + std::to_string(summary.goldMined) +
         ", peasants trained " + std::to_string(summary.peasantsTrained) + ", bases built " +
         std::to_string(summary.basesBuilt) + ", entities lost " +
         std::to_string(summary.entitiesLost) + ", time " + clock;
}

}  // namespace kragmoor
