// Fuzzes loading saved games on arbitrary bytes: the bytes as they are (a
// damaged or foreign file), and the same bytes sealed with a correct
// checksum line (so that the commands in them are read). Whatever the text,
// LoadSavedGameText either refuses it, with a reason, leaving the game as it
// was, or loads it; a loaded game saves again to a text that loads to the
// very same state. Anything else (a sanitizer report, an escaping
// exception, a hang) is a fault.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "game/saved_game.h"
#include "game/session.h"
#include "world/state_hash.h"

namespace {

void Fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "fuzz_load: %s: %s\n", what, detail.c_str());
  std::abort();
}

void LoadOne(const std::string& text) {
  kragmoor::Session game;
  game.world.seed = 12345;
  const uint64_t before = kragmoor::StateHash(game);
  std::string error;
  if (!kragmoor::LoadSavedGameText(text, game, error)) {
    if (error.empty()) Fail("a refusal without a reason", "");
    if (kragmoor::StateHash(game) != before) Fail("a refused load changed the game", error);
    return;
  }
  std::string again;
  if (!kragmoor::SavedGameText(game, again, error)) Fail("a loaded game does not save", error);
  kragmoor::Session second;
  if (!kragmoor::LoadSavedGameText(again, second, error)) Fail("a save does not load", error);
  if (kragmoor::StateHash(second) != kragmoor::StateHash(game)) {
    Fail("a save loads to another state", again);
  }
  std::string third;
  if (!kragmoor::SavedGameText(second, third, error) || third != again) {
    Fail("saving twice gives two texts", again);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  LoadOne(bytes);
  LoadOne(bytes + kragmoor::ChecksumLine(bytes) + "\n");
  return 0;
}
