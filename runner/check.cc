// kragmoor-sim check: a script's output compared, line by line as it comes,
// with the text of its "#> " lines; cut recordings; scripts that verify
// nothing.
#include <deque>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

#include "game/line_reader.h"
#include "game/quote.h"
#include "game/recorder.h"
#include "runner/script.h"

namespace kragmoor {

namespace {

// Long enough for any line the game prints but a trace of a huge float.
constexpr size_t kShownChars = 200;

// The expected lines of a script ("#> text", and a bare "#>" for an empty
// line), each with its line number, and the output compared with them.
class Expectations final : public ScriptWatcher {
 public:
  Expectations(std::string name, std::streambuf* ahead) : name_(std::move(name)), ahead_(ahead) {}

  bool Line(long number, std::string_view line, bool ended) override {
    if (number == 1) recording_ = line == kRecordingHeader;
    if (!ended && recording_) {  // cut in the middle of its last line
      cutMidLine_ = true;
      return false;
    }
    close_.Line(line);
    if (ahead_ == nullptr) {
      lastLine_ = number;
      if (IsExpected(line)) {
        waiting_.push_back({number, ExpectedText(line)});
        waitingBytes_ += Held(waiting_.back().text);
        if (waitingBytes_ > kMaxWaitingOutput) {
          throw ScriptStop(2, "more than " + std::to_string(kMaxWaitingOutput) +
                                  " bytes of '#> ' lines wait for the output they expect");
        }
      }
      Drain();
    }
    return true;
  }

  // One whole line of output.
  void Printed(std::string_view line) {
    if (ahead_ == nullptr) {
      held_.emplace_back(line);
      heldBytes_ += Held(held_.back());
      if (heldBytes_ > kMaxWaitingOutput) {
        throw ScriptStop(2, "more than " + std::to_string(kMaxWaitingOutput) +
                                " bytes of output wait for their '#> ' lines");
      }
      Drain();
      return;
    }
    Expected next;
    if (!ReadAhead(next)) LeftOver(line);
    Compare(next, line);
  }

  int End(long lastLine, std::string& message) override {
    lastLine_ = lastLine;
    if (ahead_ == nullptr) {
      if (!held_.empty()) LeftOver(held_.front());
      if (!waiting_.empty()) Missing(waiting_.front());
    } else {
      Expected next;
      if (ReadAhead(next)) Missing(next);
    }
    if (compared_ == 0) {
      message = name_ + " holds no '#> ' lines to compare with: nothing was verified";
      return 1;
    }
    if (recording_ && (cutMidLine_ || !close_.closed())) {
      message = Cut();
      return 3;
    }
    return 0;
  }

 private:
  struct Expected {
    long number = 0;
    std::string text;
  };

  // The memory one held line takes, its bookkeeping included.
  static size_t Held(const std::string& text) { return sizeof(Expected) + text.capacity(); }

  static bool IsExpected(std::string_view line) { return line == "#>" || line.starts_with("#> "); }
  static std::string ExpectedText(std::string_view line) {
    return std::string(line.size() > 3 ? line.substr(3) : "");
  }

  // The next expected line from the second reader; false at its end.
  bool ReadAhead(Expected& next) {
    std::string line;
    for (;;) {
      const LineRead read = ReadLine(*ahead_, line);
      if (read == LineRead::kEnd) {
        lastLine_ = aheadLine_;
        return false;
      }
      ++aheadLine_;
      if (read == LineRead::kTooLong) {
        if (SkipLine(*ahead_)) continue;
        lastLine_ = aheadLine_;
        return false;
      }
      if (read == LineRead::kUnended && recording_) {  // the cut
        lastLine_ = aheadLine_;
        return false;
      }
      if (IsExpected(line)) {
        next = {aheadLine_, ExpectedText(line)};
        return true;
      }
    }
  }

  // Without a second reader: compares the output and the expected lines
  // read so far, in order, as far as both go.
  void Drain() {
    for (; !held_.empty() && !waiting_.empty(); held_.pop_front(), waiting_.pop_front()) {
      heldBytes_ -= Held(held_.front());
      waitingBytes_ -= Held(waiting_.front().text);
      Compare(waiting_.front(), held_.front());
    }
  }

  void Compare(const Expected& expected, std::string_view got) {
    if (expected.text != got) throw ScriptStop(1, Difference(expected.number, expected.text, got));
    ++compared_;
  }

  // Output past the last "#> " line: in a recording, where it was cut.
  [[noreturn]] void LeftOver(std::string_view got) {
    if (recording_) throw ScriptStop(3, Cut());
    throw ScriptStop(1, Difference(lastLine_, "", got));
  }

  [[noreturn]] void Missing(const Expected& expected) {
    throw ScriptStop(1, Difference(lastLine_, expected.text, ""));
  }

  std::string Cut() const {
    if (compared_ == 0) {
      return name_ + " is a recording cut short before its first hash: nothing was verified";
    }
    return "line " + std::to_string(lastLine_) +
           ": the recording ends here without its closing hash and end line (cut short); " +
           (compared_ == 1 ? std::string("the one output line")
                           : "all " + std::to_string(compared_) + " output lines") +
           " before it agree";
  }

  static std::string Difference(long number, std::string_view expected, std::string_view got) {
    return "line " + std::to_string(number) + ": expected " + Quoted(expected, kShownChars) +
           ", got " + Quoted(got, kShownChars);
  }

  std::string name_;
  std::streambuf* ahead_;  // null: expected lines come from Line, output waits in held_
  std::deque<Expected> waiting_;
  std::deque<std::string> held_;
  size_t heldBytes_ = 0;     // of held_, as Held counts them
  size_t waitingBytes_ = 0;  // of waiting_
  long aheadLine_ = 0;
  long lastLine_ = 0;
  int64_t compared_ = 0;
  bool recording_ = false;
  bool cutMidLine_ = false;
  RecordingClose close_;  // whether the lines so far end as a finished recording
};

// The script's output, cut into lines for Expectations as it comes. A line
// longer than any script line cannot equal an expected line: only its start
// is kept, and it is compared as that start and a mark.
class CompareBuffer final : public std::streambuf {
 public:
  explicit CompareBuffer(Expectations& expectations) : expectations_(expectations) {}

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    Put(traits_type::to_char_type(c));
    return c;
  }

  std::streamsize xsputn(const char* s, std::streamsize n) override {
    for (std::streamsize i = 0; i < n; ++i) Put(s[i]);
    return n;
  }

 private:
  void Put(char c) {
    if (c == '\n') {
      if (tooLong_) line_ += "\xe2\x80\xa6";  // no expected line is this long
      expectations_.Printed(line_);
      line_.clear();
      tooLong_ = false;
    } else if (line_.size() <= kMaxLineBytes) {
      line_ += c;
    } else {
      tooLong_ = true;
    }
  }

  Expectations& expectations_;
  std::string line_;
  bool tooLong_ = false;
};

}  // namespace

int CheckScript(std::istream& in, std::ostream& err, const ScriptOptions& options,
                std::streambuf* ahead) {
  Expectations expectations(options.inputName, ahead);
  CompareBuffer buffer(expectations);
  std::ostream out(&buffer);
  out.exceptions(std::ios::badbit);  // a difference thrown while printing ends the script
  return RunWatched(in, out, err, options, expectations);
}

}  // namespace kragmoor
