// Writing recordings.
#include "game/recorder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "game/platform/files.h"
#include "game/print.h"
#include "game/saved_game.h"
#include "game/session.h"
#include "world/state_hash.h"

namespace kragmoor {

Recorder::Recorder(std::ostream& out) : out_(out) { out_ << kRecordingHeader << '\n'; }

void Recorder::State(const Session& session) {
  std::string commands;
  std::string error;
  if (!SavedGameCommands(session, commands, error)) {
    if (failure_.empty()) failure_ = "the game cannot be recorded: " + error;
    return;
  }
  WriteSteps();
  // The saved game's own header would make the recording look like a save.
  out_ << std::string_view(commands).substr(kSaveHeader.size() + 1);
  WriteHash(session);
}

void Recorder::Applied(const Input& input) {
  WriteSteps();
  out_ << FormatInput(input) << '\n';
}

void Recorder::Comment(std::string_view text) {
  WriteSteps();
  out_ << "# " << text << '\n';
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
  out_ << kRecordingEnd << '\n';
  out_.flush();
}

void Recorder::WriteSteps() {
  if (unwrittenFrames_ == 0) return;
  out_ << "step " << unwrittenFrames_ << '\n';
  unwrittenFrames_ = 0;
}

void Recorder::WriteHash(const Session& session) {
  WriteSteps();
  out_ << "hash\n#> hash " << FormatHash(StateHash(session)) << '\n';
  framesSinceHash_ = 0;
}

RecordingFile::~RecordingFile() {
  if (fd_ >= 0) close(fd_);
}

bool RecordingFile::Open(const std::string& path, const Session& session, std::string& error) {
  path_ = path;
  fd_ = OpenToReplace(path, kRecordingFormat, error);
  if (fd_ < 0) return false;
  written_ = 0;
  recorder_ = std::make_unique<Recorder>(buffer_);
  recorder_->State(session);
  return Flush(error);
}

bool RecordingFile::Flush(std::string& error) {
  if (!recorder_->failure().empty()) {
    error = recorder_->failure();
    return false;
  }
  const std::string_view all = buffer_.view();
  std::string_view text = all;
  while (!text.empty()) {
    const ssize_t n = write(fd_, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = "cannot write " + QuotedPath(path_) + " : " + std::strerror(n < 0 ? errno : EIO);
      // What reached the file up to its last line end stays: a line cut in
      // two would make the rest unreadable.
      const std::string_view done = all.substr(0, all.size() - text.size());
      const auto lastEnd = done.rfind('\n');
      const off_t whole =
          written_ + (lastEnd == std::string_view::npos ? 0 : static_cast<off_t>(lastEnd + 1));
      if (ftruncate(fd_, whole) == 0) written_ = whole;
      return false;
    }
    text.remove_prefix(static_cast<size_t>(n));
  }
  written_ += static_cast<off_t>(all.size());
  buffer_.str("");
  return true;
}

bool RecordingFile::Finish(const Session& session, std::string& error) {
  recorder_->Finish(session);
  const bool flushed = Flush(error);
  const bool closed = close(fd_) == 0;
  fd_ = -1;
  if (flushed && !closed)
    error = "cannot write " + QuotedPath(path_) + " : " + std::strerror(errno);
  return flushed && closed;
}

}  // namespace kragmoor
