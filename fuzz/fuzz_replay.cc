// Fuzzes replays on arbitrary bytes under a recording's header: whatever the
// text, ReadRecording refuses it with a reason or reads it, and a replay of
// what it read seeks to any frame, back and forth, to the very state that
// stepping there from frame 0 reaches. Anything else (a sanitizer report,
// an escaping exception, a hang) is a fault.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/recorder.h"
#include "game/replay/replay.h"
#include "world/state_hash.h"

namespace {

// Longer recordings are skipped: a `step 2000000000` line is a valid one
// that would only take long.
constexpr int64_t kMaxFrames = 3000;

void Fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "fuzz_replay: %s: %s\n", what, detail.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = std::string(kragmoor::kRecordingHeader) + "\n" +
                           std::string(reinterpret_cast<const char*>(data), size);
  kragmoor::Recording recording;
  std::string error;
  if (!kragmoor::ReadRecording(text, recording, error)) {
    if (error.empty()) Fail("a refusal without a reason", "");
    return 0;
  }
  if (recording.frames > kMaxFrames) return 0;
  kragmoor::Replay stepped(recording);
  kragmoor::Replay sought(std::move(recording));
  const int64_t target = static_cast<int64_t>(size * 7919) % (stepped.frames() + 1);
  sought.Seek(stepped.frames());
  sought.Seek(target);
  while (stepped.frame() < target) stepped.Step();
  if (kragmoor::StateHash(stepped.session()) != kragmoor::StateHash(sought.session())) {
    Fail("a seek reaches another state than stepping", std::to_string(target));
  }
  return 0;
}
