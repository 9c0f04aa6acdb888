// The game's pace: running or paused, and the speed, a power of two from
// x1/4 to x8. Decides how many frame steps each firing of
// the 10 ms frame timer runs; every step is the same frame step whatever the
// pace, so the pace changes when things happen, never what happens.
#pragma once

#include <string>

namespace kragmoor {

class TPace {
 public:
  static constexpr int kSlowest = -2;  // x1/4: one step every 4th tick
  static constexpr int kFastest = 3;   // x8: eight steps a tick

  bool paused() const { return paused_; }
  void TogglePause() { paused_ = !paused_; }

  // The speed as a power of two: -2 for x1/4, 0 for x1, 3 for x8.
  int power() const { return power_; }
  // Double or halve the speed, within the bounds above.
  void Faster() { SetPower(power_ + 1); }
  void Slower() { SetPower(power_ - 1); }

  // The speed after the "x": "1/4", "1/2", "1", "2", "4" or "8".
  std::string SpeedText() const {
    return power_ < 0 ? "1/" + std::to_string(1 << -power_) : std::to_string(1 << power_);
  }

  // The frame steps one firing of the frame timer runs: none while paused;
  // 2^power at x1 and above; below x1, one on every 2nd or 4th firing.
  int StepsForTimer() {
    if (paused_) return 0;
    if (power_ >= 0) return 1 << power_;
    if (++idleTimerFires_ < (1 << -power_)) return 0;
    idleTimerFires_ = 0;
    return 1;
  }

 private:
  void SetPower(int power) {
    power_ = power < kSlowest ? kSlowest : power > kFastest ? kFastest : power;
    idleTimerFires_ = 0;
  }

  bool paused_ = false;
  int power_ = 0;
  int idleTimerFires_ = 0;  // firings without a step, below x1
};

}  // namespace kragmoor
