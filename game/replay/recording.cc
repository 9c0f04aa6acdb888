// Reading a recording for replay: every line checked once, up front.
#include "game/replay/recording.h"

#include <cstring>
#include <new>

#include "game/input.h"
#include "game/line_reader.h"
#include "game/platform/files.h"
#include "game/quote.h"
#include "game/recorder.h"
#include "game/words.h"

namespace kragmoor {

namespace {

// The line kept for `words`, or a ScriptError saying why it has no place in
// a recording.
RecordedLine Classify(const Words& words) {
  RecordedLine kept;
  if (words[0] == "step") {
    if (words.size() > 2) throw ScriptError("wrong number of words for 'step'");
    kept.kind = RecordedLine::Kind::kStep;
    kept.count = words.size() == 2 ? ParseInt(words[1], 0) : 1;
    return kept;
  }
  if (words[0] == "hash") {
    if (words.size() != 1) throw ScriptError("wrong number of words for 'hash'");
    kept.kind = RecordedLine::Kind::kHash;
    return kept;
  }
  const InputEntry* entry = FindInput(words[0]);
  if (entry == nullptr) {
    throw ScriptError(Quoted(words[0]) + " is no command a recording holds");
  }
  ParseInput(*entry, words);  // throws what is wrong with it
  kept.kind = RecordedLine::Kind::kInput;
  kept.count = entry->runsFrame ? 1 : 0;
  return kept;
}

}  // namespace

std::string_view Recording::TextOf(const RecordedLine& line) const {
  const std::string_view rest = std::string_view(text).substr(line.begin);
  return rest.substr(0, rest.find('\n'));
}

bool ReadRecording(std::string text, Recording& recording, std::string& error) {
  Recording read;
  read.text = std::move(text);
  if (read.text.size() > kMaxRecordingBytes || read.text.size() > UINT32_MAX) {
    error = "it is larger than " + std::to_string(kMaxRecordingBytes) + " bytes";
    return false;
  }
  const std::string_view all = read.text;
  RecordingClose close;
  bool cutMidLine = false;
  uint32_t number = 0;
  try {
    for (size_t begin = 0; begin < all.size();) {
      const size_t end = all.find('\n', begin);
      const std::string_view line =
          all.substr(begin, end == std::string_view::npos ? all.npos : end - begin);
      ++number;
      if (line.size() > kMaxLineBytes) {
        throw ScriptError("the line is longer than " + std::to_string(kMaxLineBytes) + " bytes");
      }
      if (number == 1 && line != kRecordingHeader) {
        error = "it is not a recording: its first line is not " + Quoted(kRecordingHeader);
        return false;
      }
      if (end == std::string_view::npos) {  // cut in the middle of its last line
        cutMidLine = true;
        break;
      }
      close.Line(line);
      read.lastLine = number;
      const size_t first = line.find_first_not_of(" \t\r");
      if (line == "#>" || line.starts_with("#> ")) {
        read.lines.push_back(
            {static_cast<uint32_t>(begin), number, 0, RecordedLine::Kind::kExpect});
      } else if (first != std::string_view::npos && line[first] != '#') {
        RecordedLine kept = Classify(Split(line));
        kept.begin = static_cast<uint32_t>(begin);
        kept.number = number;
        read.frames += kept.count;
        read.lines.push_back(kept);
      }
      begin = end + 1;
    }
  } catch (const ScriptError& what) {
    error = "line " + std::to_string(number) + ": " + what.what();
    return false;
  } catch (const std::bad_alloc&) {
    error = "line " + std::to_string(number) + ": out of memory";
    return false;
  }
  if (number == 0) {
    error = "it is empty, not a recording";
    return false;
  }
  read.closed = close.closed() && !cutMidLine;
  recording = std::move(read);
  return true;
}

bool ReadRecordingFile(const std::string& path, Recording& recording, std::string& error) {
  std::string text;
  std::string why;
  if (!ReadSmallFile(path, kMaxRecordingBytes, text, why) ||
      !ReadRecording(std::move(text), recording, why)) {
    error = "cannot replay " + QuotedPath(path) + " : " + why;
    return false;
  }
  return true;
}

}  // namespace kragmoor
