// Writing recordings.
#include "runner/recorder.h"

#include "runner/print.h"
#include "runner/saved_game.h"
#include "runner/session.h"
#include "world/state_hash.h"

namespace kragmoor {

Recorder::Recorder(std::ostream& out) : out_(out) { out_ << kRecordingHeader << '\n'; }

bool Recorder::State(const Session& session, std::string& error) {
  std::string commands;
  if (!SavedGameCommands(session, commands, error)) return false;
  WriteSteps();
  // The saved game's own header would make the recording look like a save.
  out_ << std::string_view(commands).substr(kSaveHeader.size() + 1);
  WriteHash(session);
  return true;
}

void Recorder::Input(std::string_view command) {
  WriteSteps();
  out_ << command << '\n';
}

void Recorder::Frame(const Session& session, bool byResize, const std::string* error) {
  if (!byResize) ++unwrittenFrames_;
  ++framesSinceHash_;
  if (error != nullptr) {
    WriteSteps();
    out_ << "#> error: " << *error << '\n';
  }
  if (framesSinceHash_ >= kRecordedHashEvery) WriteHash(session);
}

void Recorder::Finish(const Session& session) {
  WriteHash(session);
  out_.flush();
}

void Recorder::WriteSteps() {
  if (unwrittenFrames_ == 0) return;
  out_ << "step " << unwrittenFrames_ << '\n';
  unwrittenFrames_ = 0;
}

void Recorder::WriteHash(const Session& session) {
  WriteSteps();
  out_ << "hash\n#> hash " << FormatHash(StateHash(session.world)) << '\n';
  framesSinceHash_ = 0;
}

}  // namespace kragmoor
