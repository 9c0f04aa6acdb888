// kragmoor_replay_bench: seeks in a 60,000-frame recording (median and
// worst), a replay played as fast as it goes against `check` of the same
// text, and the memory its copies of the session take.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "game/play.h"
#include "game/recorder.h"
#include "game/replay/replay.h"
#include "runner/script.h"

namespace kragmoor {
namespace {

constexpr int64_t kFrames = 60000;

// The three computer players from seed 1 for kFrames frames, the pointer
// moving every 50 frames as a watching player's would.
const std::string& RecordingText() {
  static const std::string text = [] {
    std::ostringstream out;
    Session session;
    StartNewGame(session, 1);
    Recorder recorder(out);
    recorder.State(session);
    const Front front{nullptr, nullptr, &recorder};
    std::string error;
    for (int64_t frame = 0; frame < kFrames; ++frame) {
      if (frame % 50 == 0) {
        Apply(session, MouseAt{static_cast<int32_t>(frame % 400), 200}, front);
      }
      StepFrame(session, front, error);
    }
    recorder.Finish(session);
    return out.str();
  }();
  return text;
}

Replay OpenReplay() {
  Recording recording;
  std::string error;
  if (!ReadRecording(RecordingText(), recording, error)) std::abort();
  return Replay(std::move(recording));
}

// 101 frames spread over the recording, visited in a shuffled order so
// that seeks go back as often as forward.
void BM_Seek(benchmark::State& state) {
  Replay replay = OpenReplay();
  while (replay.Prepare(10000)) {
  }
  std::vector<double> ms;
  for (auto _ : state) {
    for (int64_t i = 0; i <= 100; ++i) {
      const int64_t target = (i * 37 % 101) * kFrames / 100;
      const auto start = std::chrono::steady_clock::now();
      replay.Seek(target);
      ms.push_back(
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count());
      benchmark::DoNotOptimize(replay.session().world.seed);
    }
  }
  std::sort(ms.begin(), ms.end());
  state.counters["median_ms"] = ms[ms.size() / 2];
  state.counters["worst_ms"] = ms.back();
  state.counters["snapshot_MiB"] = static_cast<double>(replay.SnapshotBytes()) / (1 << 20);
}

// From frame 0 to the end, every hash verified, nothing drawn.
void BM_ReplayAsFastAsItGoes(benchmark::State& state) {
  for (auto _ : state) {
    Replay replay = OpenReplay();
    while (!replay.atEnd()) replay.Step();
    if (replay.problem()) state.SkipWithError("the replay disagrees with the recording");
  }
  state.counters["frames/s"] = benchmark::Counter(static_cast<double>(kFrames),
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

// kragmoor-sim check of the same text, in-process.
void BM_Check(benchmark::State& state) {
  for (auto _ : state) {
    std::istringstream in(RecordingText());
    std::istringstream ahead(RecordingText());
    std::ostringstream err;
    if (CheckScript(in, err, ScriptOptions{}, ahead.rdbuf()) != 0) state.SkipWithError("check");
  }
  state.counters["frames/s"] = benchmark::Counter(static_cast<double>(kFrames),
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_Seek)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplayAsFastAsItGoes)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_Check)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

}  // namespace
}  // namespace kragmoor

BENCHMARK_MAIN();
