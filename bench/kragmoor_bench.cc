// kragmoor_bench: what a frame costs, against the floor of the pair passes.
// Run with scripts/bench; after the table it prints the spread and the jammed
// full-table frames as shares of the floor and the headless match's frames
// per second.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "bench/full_table.h"
#include "bench/jammed_table.h"
#include "game/match.h"
#include "sim/frame_step.h"
#include "sim/vec2d.h"
#include "world/tigrok.h"

namespace kragmoor {
namespace {

constexpr uint32_t kTableSeed = 1;
constexpr int32_t kMatchFrames = 100000;  // as `kragmoor-sim match --seed 1 --frames 100000`

// The straightforward floor: every pair's Distance2D twice, once tested
// against the aggression range and once against the contact distance, with
// nothing else done.
void BM_Floor(benchmark::State& state) {
  const World world = FullTable(kTableSeed);
  const auto& e = world.entities;
  for (auto _ : state) {
    int near = 0;
    for (int i = 0; i < kSlotCount; ++i) {
      for (int j = i + 1; j < kSlotCount; ++j) near += Distance2D(e[i], e[j]) < 100.0f;
    }
    int touching = 0;
    for (int i = 0; i < kSlotCount; ++i) {
      for (int j = i + 1; j < kSlotCount; ++j) touching += Distance2D(e[i], e[j]) < 50.0f;
    }
    benchmark::DoNotOptimize(near);
    benchmark::DoNotOptimize(touching);
  }
}

// Times one FrameStep (no drawing backend, all three computer players on)
// per iteration, each on a fresh copy of `start` made outside the timing, so
// every iteration runs the same frame.
void TimeFrames(benchmark::State& state, const World& start) {
  const FrameInputs inputs;
  World world = start;
  ViewState view;
  for (auto _ : state) {
    world = start;
    view = ViewState{};
    const auto begin = std::chrono::steady_clock::now();
    FrameStep(world, view, inputs, nullptr);
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - begin).count());
  }
  int live = 0;
  for (const Tigrok& t : world.entities) live += IsLive(t) ? 1 : 0;
  state.counters["live_after"] = live;
  int touching = 0;  // pairs of live entities closer than 50 in `start`
  const auto& e = start.entities;
  for (int i = 0; i < kSlotCount; ++i) {
    for (int j = i + 1; j < kSlotCount; ++j) {
      touching += IsLive(e[i]) && IsLive(e[j]) && Distance2D(e[i], e[j]) < 50.0f;
    }
  }
  state.counters["touching"] = touching;
}

void BM_FrameStepFullTable(benchmark::State& state) { TimeFrames(state, FullTable(kTableSeed)); }

// The same on a table from a real match, where the main bases have piled up.
// The match is played once per run, outside any timing.
void BM_FrameStepJammedTable(benchmark::State& state) {
  static const World jammed = JammedTable();
  TimeFrames(state, jammed);
}

void BM_FrameStepInitialScenario(benchmark::State& state) {
  World start;
  SetUpScenario(start);
  TimeFrames(state, start);
}

// Discards what the match prints.
class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return c; }
};

void BM_Match(benchmark::State& state) {
  NullBuffer buffer;
  std::ostream out(&buffer);
  MatchOptions options;
  options.seed = 1;
  options.frames = kMatchFrames;
  for (auto _ : state) RunMatch(options, out);
  state.counters["frames/s"] =
      benchmark::Counter(kMatchFrames, benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_Floor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameStepFullTable)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameStepJammedTable)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameStepInitialScenario)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Match)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The console table as usual, and for the summary the real time per
// iteration of every benchmark: the median when repetitions were asked for,
// otherwise the mean over its runs.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  // Counters in columns, no colour codes (the output is often kept in a file).
  SummaryReporter() : ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const double seconds =
          run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      Times& t = times_[run.run_name.function_name];
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        t.median = seconds;
      } else if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
        t.sum += seconds;
        t.runs += 1;
      }
    }
  }

  // Seconds per iteration of `name`, or 0 when it did not run.
  double Seconds(const std::string& name) const {
    const auto it = times_.find(name);
    if (it == times_.end()) return 0.0;
    const Times& t = it->second;
    if (t.median > 0) return t.median;
    return t.runs > 0 ? t.sum / t.runs : 0.0;
  }

 private:
  struct Times {
    double median = 0.0;
    double sum = 0.0;
    int runs = 0;
  };
  std::map<std::string, Times> times_;
};

void PrintSummary(const SummaryReporter& reporter) {
  const double floor = reporter.Seconds("BM_Floor");
  const double fullTable = reporter.Seconds("BM_FrameStepFullTable");
  const double jammedTable = reporter.Seconds("BM_FrameStepJammedTable");
  const double match = reporter.Seconds("BM_Match");
  if (floor > 0 && fullTable > 0) {
    std::printf("spread full-table frame / floor = %.1f us / %.1f us = %.3f (target <= 0.5)\n",
                fullTable * 1e6, floor * 1e6, fullTable / floor);
  }
  if (floor > 0 && jammedTable > 0) {
    std::printf("jammed full-table frame / floor = %.1f us / %.1f us = %.3f (target <= 0.65)\n",
                jammedTable * 1e6, floor * 1e6, jammedTable / floor);
  }
  if (match > 0) {
    std::printf("match --seed 1 --frames %d: %.0f frames/s (target >= 200000)\n", kMatchFrames,
                kMatchFrames / match);
  }
}

}  // namespace
}  // namespace kragmoor

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  kragmoor::SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  kragmoor::PrintSummary(reporter);
  return 0;
}
