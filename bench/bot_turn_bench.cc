// What a bot's turn costs the arena on a full field, beside the ten frames
// it stands for: writing the turn message and reading an answer.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/jammed_table.h"
#include "game/bots/bot_protocol.h"
#include "world/tigrok.h"

namespace kragmoor {
namespace {

// The body every bot's turn message shares, then one message per bot of
// three, as the arena writes them each turn.
void BM_TurnMessagesJammedTable(benchmark::State& state) {
  static const World jammed = JammedTable();
  size_t bytes = 0;
  for (auto _ : state) {
    const std::string body = TurnBody(jammed, 1000);
    for (int bot = 0; bot < kSideCount; ++bot) {
      const std::string message = TurnMessage(body, {}, {});
      bytes = message.size();
      benchmark::DoNotOptimize(message.data());
    }
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}

// An answer ordering 100 of side 0's entities, read and checked.
void BM_ReadAnswerJammedTable(benchmark::State& state) {
  static const World jammed = JammedTable();
  std::string answer = R"({"type":"orders","orders":[)";
  int given = 0;
  for (int i = 0; i < kSlotCount && given < 100; ++i) {
    const Tigrok& t = jammed.entities[i];
    if (!IsLive(t) || t.owner != 0 || t.kind != kKindPeasant) continue;
    answer += (given++ == 0 ? "" : ",") + std::string(R"({"slot":)") + std::to_string(i) +
              R"(,"do":"go","x":600,"y":600})";
  }
  answer += "]}";
  for (auto _ : state) {
    std::vector<BotOrder> orders;
    std::vector<std::string> errors;
    ParseOrders(answer, jammed, 0, orders, errors);
    benchmark::DoNotOptimize(orders.data());
  }
  state.counters["orders"] = given;
}

BENCHMARK(BM_TurnMessagesJammedTable)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadAnswerJammedTable)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kragmoor
