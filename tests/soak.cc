// kragmoor-soak: long computer-player matches that check, every K frames,
// what the game's own rules promise for any length of play:
//   - no side's purse is below 0 (building spends only while it is above 0,
//     and deliveries only add);
//   - no gold mine's stock is below 0 (a mine gives only while it holds 10);
//   - every order and nextOrder of every slot, live or dead, is a text some
//     writer of the game produces, and every index in a walk, attack or
//     repair order names a slot from 0 to 299;
//   - no frame ends early with the conversion error.
// Usage: kragmoor-soak [--frames N] [--every K] SEED...
// Prints one line per seed; exits 1 at the first broken promise.
#include <charconv>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "game/play.h"
#include "game/print.h"
#include "game/session.h"
#include "world/orders.h"
#include "world/state_hash.h"
#include "world/str_man.h"

namespace kragmoor {
namespace {

// The first thing wrong with an order text, or the empty text when it is one
// the game's writers produce: empty, "idle", a walk, attack or repair order
// naming a slot, a point order, or a build order of kind 0 or 1.
std::string OrderFault(std::string_view order) {
  if (order.empty() || order == kOrderIdle) return "";
  const std::string_view verb = WordView(order, " ", 1);
  const std::string_view argument = WordView(order, " ", 2);
  if (order.size() != verb.size() + 1 + argument.size()) return "not 'verb argument'";
  int numbers = 0;
  int32_t first = 0;
  for (uint8_t n = 1; !WordView(argument, ",", n).empty(); ++n) {
    int32_t value = 0;
    if (!TryStrToInt(WordView(argument, ",", n), value)) return "a number does not convert";
    if (n == 1) first = value;
    ++numbers;
  }
  if (verb == kVerbWalk || verb == kVerbAttack || verb == kVerbRepair) {
    if (numbers != 1) return "not one index";
    if (!IsSlot(first)) return "index outside 0 to 299";
    return "";
  }
  if (verb == kVerbPoint) return numbers == 2 ? "" : "not two coordinates";
  if (verb == kVerbBuild) {
    if (numbers != 3) return "not three numbers";
    return first == 0 || first == 1 ? "" : "kind neither 0 nor 1";
  }
  return "unknown verb";
}

// The first broken promise in the world, or the empty text.
std::string Fault(const World& world) {
  for (int side = 0; side < kSideCount; ++side) {
    if (world.players[side].gold < 0) return "side " + std::to_string(side) + "'s purse below 0";
  }
  for (int i = 0; i < kSlotCount; ++i) {
    const Tigrok& t = world.entities[i];
    if (t.kind == kKindMine && t.gold < 0) return "mine stock below 0 in " + FormatSlot(world, i);
    for (const std::string* text : {&t.order, &t.nextOrder}) {
      const std::string fault = OrderFault(*text);
      if (!fault.empty()) return "order '" + *text + "': " + fault + " in " + FormatSlot(world, i);
    }
  }
  return "";
}

bool ParseCount(std::string_view text, int64_t low, int64_t& value) {
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && result.ec == std::errc() && result.ptr == text.data() + text.size() &&
         value >= low;
}

// Plays one match; returns false (after printing what broke) at the first fault.
bool Soak(uint32_t seed, int64_t frames, int64_t every) {
  Session session;
  session.world.seed = seed;
  const auto start = std::chrono::steady_clock::now();
  int maxLive = 0;
  for (int64_t frame = 1; frame <= frames; ++frame) {
    std::ostringstream error;
    if (!StepFrame(session, Front{}, error)) {
      std::cout << "seed " << seed << " frame " << frame << ": " << error.str();
      return false;
    }
    if (frame % every != 0 && frame != frames) continue;
    const std::string fault = Fault(session.world);
    if (!fault.empty()) {
      std::cout << "seed " << seed << " frame " << frame << ": " << fault << '\n';
      return false;
    }
    int live = 0;
    for (const Tigrok& t : session.world.entities) live += IsLive(t) ? 1 : 0;
    if (live > maxLive) maxLive = live;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const World& w = session.world;
  char line[256];
  std::snprintf(line, sizeof line,
                "seed %u: %lld frames clean in %.1f s (%.0f frames/s); most live %d; purses %d "
                "%d %d; hash %s",
                seed, static_cast<long long>(frames), seconds, seconds > 0 ? frames / seconds : 0.0,
                maxLive, w.players[0].gold, w.players[1].gold, w.players[2].gold,
                FormatHash(StateHash(session)).c_str());
  std::cout << line << std::endl;
  return true;
}

}  // namespace
}  // namespace kragmoor

int main(int argc, char** argv) {
  int64_t frames = 1000000;
  int64_t every = 1000;
  std::vector<uint32_t> seeds;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    int64_t value = 0;
    if ((arg == "--frames" || arg == "--every") && i + 1 < argc &&
        kragmoor::ParseCount(argv[i + 1], arg == "--frames" ? 0 : 1, value)) {
      (arg == "--frames" ? frames : every) = value;
      ++i;
    } else if (kragmoor::ParseCount(arg, 0, value) && value <= UINT32_MAX) {
      seeds.push_back(static_cast<uint32_t>(value));
    } else {
      std::cerr << "usage: kragmoor-soak [--frames N] [--every K] SEED...\n";
      return 2;
    }
  }
  if (seeds.empty()) seeds = {1};
  for (uint32_t seed : seeds) {
    if (!kragmoor::Soak(seed, frames, every)) return 1;
  }
  return 0;
}
