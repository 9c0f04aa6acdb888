// A recording read for replay: the file's text, read once and bounded, and
// the lines that do something, each checked before anything runs. Playing
// them is game/replay/replay.h's; this file only reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kragmoor {

// Larger files are not replayed: a recording of a day of play, a mouse move
// every frame, stays below it.
inline constexpr size_t kMaxRecordingBytes = size_t{256} << 20;

// One line of a recording that does something when it is replayed.
struct RecordedLine {
  enum class Kind : uint8_t {
    kInput,   // an input of the game's table (game/input.h)
    kStep,    // `step N`: `count` frame steps
    kHash,    // `hash`: the state hash printed
    kExpect,  // `#> TEXT`: the line the replay must have printed here
  };
  uint32_t begin = 0;   // offset of the line's first byte in the text
  uint32_t number = 0;  // line number, from 1
  int32_t count = 0;    // kStep: frames; kInput: 1 when it runs a frame (resize), else 0
  Kind kind = Kind::kInput;
};

struct Recording {
  std::string text;                 // the whole file
  std::vector<RecordedLine> lines;  // in file order
  int64_t frames = 0;               // frame steps the lines run in all
  // Ends with its closing hash and end line. A recording without them, or
  // whose last line has no line end (that line is left out), was cut short.
  bool closed = false;
  uint32_t lastLine = 0;  // number of the last line kept

  // The text of `line` without its line end.
  std::string_view TextOf(const RecordedLine& line) const;
};

// Reads the recording `text` into `recording`. False, with "line L: <what is
// wrong>" or why the text is no recording in `error`, when the first line
// is not a recording's header, a line is longer than a script line may be,
// or a line is no command a recording holds (a recording never saves, loads
// or prints) or does not parse.
bool ReadRecording(std::string text, Recording& recording, std::string& error);

// The same for the file `path` (at most kMaxRecordingBytes), with `error`
// "cannot replay '<path>' : <reason>".
bool ReadRecordingFile(const std::string& path, Recording& recording, std::string& error);

}  // namespace kragmoor
