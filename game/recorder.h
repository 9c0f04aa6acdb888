// Recordings: a scenario script that the game writes while it runs, so that
// `kragmoor-sim check` replays it and verifies every hash. First the state
// when recording began, as a saved game's commands, then every input as its
// script command, with `step N` for the frames between them, a `hash` and
// its `#> hash H` line at least every 100 frames and at the end, and a
// `#> ` line for every error line a frame produced; last, kRecordingEnd.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>

#include "game/input.h"

namespace kragmoor {

// The first line of every recording: the format and its version.
inline constexpr std::string_view kRecordingHeader = "# kragmoor recording 1";
// How the first line of a recording of any version starts: a recording only
// ever replaces an empty file or a file that starts so.
inline constexpr std::string_view kRecordingFormat = "# kragmoor recording ";

// The last line of a finished recording, after its closing hash: without it
// the recording was cut short (a crash, kill -9), even where its last lines
// are a periodic hash.
inline constexpr std::string_view kRecordingEnd = "# end of recording";

// Whether a recording read line by line has ended as a finished one does:
// `hash`, its `#> hash H` line, then kRecordingEnd, with only blank lines
// after them. Check and the replay both judge a cut recording by it.
class RecordingClose {
 public:
  // The next line of the recording, without its line end.
  void Line(std::string_view line) {
    if (line.empty()) return;
    closed_ = hashLine_ && line == kRecordingEnd;
    hashLine_ = afterHash_ && line.starts_with("#> hash ");
    afterHash_ = line == "hash";
  }
  bool closed() const { return closed_; }

 private:
  bool afterHash_ = false;  // the last line is `hash`
  bool hashLine_ = false;   // the last line is the `#> hash` line of a `hash`
  bool closed_ = false;
};

// Frames at most between two hashes of a recording.
inline constexpr int32_t kRecordedHashEvery = 100;

// Writes one recording to `out`. A failed write of `out` throws whatever the
// stream throws (its owner sets its exceptions); the recorder holds nothing
// back but the count of the frames since the last command.
class Recorder {
 public:
  // Writes the header.
  explicit Recorder(std::ostream& out);

  // The whole state of `session`, as the commands that set it: when the
  // recording begins, and again after a new game or a load. A state that
  // cannot be written as commands breaks the recording (failure()).
  void State(const Session& session);

  // Why the recording no longer follows the game, or empty.
  const std::string& failure() const { return failure_; }

  // An input, already applied: written as its script command.
  void Applied(const Input& input);

  // A comment line, "# TEXT", after the frames run so far: what happened
  // outside the game, such as a bot that ended. `text` is one line.
  void Comment(std::string_view text);

  // A frame step has run on `session`, by the timer or (byResize) as part of
  // a `resize` already written; `error` is its conversion error or null.
  void Frame(const Session& session, bool byResize, const std::string* error);

  // The frames not yet written, a last hash and kRecordingEnd: call when the
  // game ends.
  void Finish(const Session& session);

 private:
  void WriteSteps();
  void WriteHash(const Session& session);

  std::ostream& out_;
  int32_t unwrittenFrames_ = 0;  // frames run since the last command written
  int32_t framesSinceHash_ = 0;
  std::string failure_;
};

// A recording going to a file, as the window makes it: the recorder writes
// into memory, and Flush (at least once a second, and at the end) appends
// that to the file, so a crash loses at most what came since.
class RecordingFile {
 public:
  RecordingFile() = default;
  RecordingFile(const RecordingFile&) = delete;
  RecordingFile& operator=(const RecordingFile&) = delete;
  ~RecordingFile();

  // Creates `path`, or empties it when it is an empty file or a recording
  // (OpenToReplace: never a saved game, a link or a device), and writes the
  // header and `session`'s state. On failure returns false with "cannot
  // write '<path>' : <reason>".
  bool Open(const std::string& path, const Session& session, std::string& error);

  Recorder& recorder() { return *recorder_; }

  // Appends what the recorder wrote since the last flush. False, with the
  // reason, when the file cannot be written or the recorder broke: the
  // recording is then over, and a write that failed part-way is cut back to
  // the file's last whole line, so that check replays all it holds.
  bool Flush(std::string& error);

  // The frames not yet written and a last hash, flushed; the file is closed.
  bool Finish(const Session& session, std::string& error);

 private:
  std::string path_;
  int fd_ = -1;
  off_t written_ = 0;  // bytes of the file, every one of them up to a line end
  std::ostringstream buffer_;
  std::unique_ptr<Recorder> recorder_;
};

}  // namespace kragmoor
