// The game watch: outcome, summaries, standstill and alerts.
#include "game/game_watch.h"

#include "sim/control.h"
#include "world/rules.h"

namespace kragmoor {

namespace {

constexpr int64_t kFramesPerSecond = 100;  // the 10 ms frame timer
constexpr int64_t kNever = -1;

bool IsUnit(int32_t kind) { return kind == kKindPeasant || kind == kKindBase; }

std::string Side(int side) { return std::to_string(side + 1); }

}  // namespace

void GameWatch::Observe(const World& world, int64_t frame,
                        const std::array<bool, kSideCount>& computerPlayer) {
  const std::array<bool, kSideCount> live = LiveSides(world);
  if (!started_) {
    started_ = true;
    lastActivity_ = frame;
    lastAttackAlert_.fill(kNever);
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
      if (was.live && isLive) {
        if (t.hp < was.hp) {
          active = true;
          const bool playerBase = t.kind == kKindBase && ownerIsSide && !computerPlayer[t.owner];
          if (playerBase && (lastAttackAlert_[i] == kNever ||
                             frame - lastAttackAlert_[i] >= kAttackAlertFrames)) {
            lastAttackAlert_[i] = frame;
            events_.push_back({frame, EventKind::kBaseUnderAttack, t.owner, i});
          }
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
    seen_[i] = {IsLive(t), t.kind, t.owner, t.hp, t.gold};
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
