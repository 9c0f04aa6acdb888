// Counting a game's summary from the frames and inputs a replay runs.
#include "game/replay/summary.h"

#include <variant>

#include "world/rules.h"

namespace kragmoor {

namespace {

bool Counted(const Tigrok& t) {
  return IsLive(t) && IsSide(t.owner) && (t.kind == kKindPeasant || t.kind == kKindBase);
}

// What the counter remembers of a slot from one frame to the next.
struct SlotSeen {
  bool counted = false;  // a live peasant or main base of a side
  int32_t owner = 0;
  int32_t kind = 0;
  int32_t gold = 0;
  float x = 0.0f, y = 0.0f;
};

class Counter final : public ReplayWatcher {
 public:
  Counter(const Session& start, int64_t every) : every_(every) {
    Remember(start);
    Sample(start, 0);
  }

  void BeforeInput(const Session& session, const Input& input) override {
    clicked_ = -1;
    if (std::holds_alternative<Click>(input)) {
      clicked_ = session.player.view.selected;
      if (IsSlot(clicked_)) clickedOrder_ = session.world.entities[clicked_].order;
    }
  }

  void AfterInput(const Session& session, const Input& input) override {
    const World& world = session.world;
    if (const auto* order = std::get_if<Order>(&input); order != nullptr) {
      if (IsSlot(order->slot) && Counted(world.entities[order->slot])) {
        ++now_[world.entities[order->slot].owner].orders;
      }
    } else if (IsSlot(clicked_) && Counted(world.entities[clicked_]) &&
               world.entities[clicked_].order != clickedOrder_) {
      ++now_[world.entities[clicked_].owner].orders;
    }
    if (EntryOf(input).setsState) Remember(session);  // a state set outright is no event
  }

  void AfterFrame(const Session& session, int64_t frame) override {
    Compare(session.world);
    Remember(session);
    if (frame % every_ == 0) Sample(session, frame);
  }

  // The sample of the last frame, unless one was taken there.
  Summary Finish(const Session& session, int64_t frame) {
    if (summary_.samples.back().frame != frame) Sample(session, frame);
    return std::move(summary_);
  }

 private:
  void Remember(const Session& session) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
      const Tigrok& t = session.world.entities[slot];
      seen_[slot] = {Counted(t), t.owner, t.kind, t.gold, t.x, t.y};
    }
  }

  // Deaths and mining between the frame remembered and `world`.
  void Compare(const World& world) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
      const SlotSeen& was = seen_[slot];
      if (!was.counted) continue;
      const Tigrok& t = world.entities[slot];
      const bool same = Counted(t) && t.owner == was.owner && t.kind == was.kind;
      if (same) {
        if (t.kind == kKindPeasant && t.gold > was.gold) now_[was.owner].mined += t.gold - was.gold;
        continue;
      }
      ++now_[was.owner].lost;
      const int killer = NearestEnemy(slot);
      if (killer >= 0) ++now_[seen_[killer].owner].killed;
    }
  }

  // The remembered slot of another side nearest to `slot` within attack
  // range, or -1.
  int NearestEnemy(int slot) const {
    const SlotSeen& dead = seen_[slot];
    int nearest = -1;
    double best = static_cast<double>(kAttackRange) * kAttackRange;
    for (int other = 0; other < kSlotCount; ++other) {
      const SlotSeen& s = seen_[other];
      if (!s.counted || s.owner == dead.owner) continue;
      const double dx = static_cast<double>(s.x) - dead.x;
      const double dy = static_cast<double>(s.y) - dead.y;
      const double d2 = dx * dx + dy * dy;
      if (d2 < best) {
        best = d2;
        nearest = other;
      }
    }
    return nearest;
  }

  void Sample(const Session& session, int64_t frame) {
    SummarySample sample{frame, now_};
    for (int side = 0; side < kSideCount; ++side) {
      sample.sides[side].gold = session.world.players[side].gold;
    }
    for (const Tigrok& t : session.world.entities) {
      if (!Counted(t)) continue;
      ++(t.kind == kKindPeasant ? sample.sides[t.owner].peasants : sample.sides[t.owner].bases);
    }
    summary_.samples.push_back(sample);
  }

  int64_t every_;
  std::array<SlotSeen, kSlotCount> seen_{};
  std::array<SideFigures, kSideCount> now_{};  // the counts so far
  int32_t clicked_ = -1;                       // the slot a click input may order
  std::string clickedOrder_;                   // its order before the click
  Summary summary_;
};

}  // namespace

Summary Summarize(Replay& replay, int64_t every) {
  replay.Seek(0);
  Counter counter(replay.session(), every);
  replay.Watch(&counter);
  while (!replay.atEnd()) replay.Step();
  replay.Watch(nullptr);
  return counter.Finish(replay.session(), replay.frame());
}

std::string SummaryCsv(const Summary& summary, bool finalOnly) {
  std::string csv = "frame,side,gold,mined,peasants,bases,lost,killed,orders\n";
  const size_t first = finalOnly && !summary.samples.empty() ? summary.samples.size() - 1 : 0;
  for (size_t i = first; i < summary.samples.size(); ++i) {
    const SummarySample& sample = summary.samples[i];
    for (int side = 0; side < kSideCount; ++side) {
      const SideFigures& f = sample.sides[side];
      csv += std::to_string(sample.frame) + ',' + std::to_string(side + 1) + ',' +
             std::to_string(f.gold) + ',' + std::to_string(f.mined) + ',' +
             std::to_string(f.peasants) + ',' + std::to_string(f.bases) + ',' +
             std::to_string(f.lost) + ',' + std::to_string(f.killed) + ',' +
             std::to_string(f.orders) + '\n';
    }
  }
  return csv;
}

}  // namespace kragmoor
