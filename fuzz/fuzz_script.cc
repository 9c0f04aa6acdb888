// Fuzzes the scenario-script reader of `kragmoor-sim run` on arbitrary bytes:
// whatever the script, RunScript returns 0 with nothing on standard error, or
// 2 with exactly one line "kragmoor-sim: line L: <what is wrong>", short and
// free of control bytes whatever the input echoed in it. Every "error: " line
// on standard output is the conversion error's whole message. Anything else
// (another exit code, an escaping exception, a sanitizer report, a hang) is
// a fault.
//
// A script may ask for up to 2^31 - 1 frames per command; the reader's frame
// limit keeps every input to kFrameLimit frame steps in total.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>

#include "runner/script.h"

namespace {

constexpr int64_t kFrameLimit = 20;  // frame steps per input, all commands together

void Fail(const char* what, const std::string& err) {
  std::fprintf(stderr, "fuzz_script: %s\nstandard error was: %s\n", what, err.c_str());
  std::abort();
}

// Standard output is only looked at line by line, and only the "error: "
// lines are kept: a traced frame prints thousands of lines.
class ErrorLineCheck final : public std::streambuf {
 protected:
  int_type overflow(int_type c) override {
    if (c != traits_type::eof()) Put(traits_type::to_char_type(c));
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    for (std::streamsize i = 0; i < n; ++i) Put(s[i]);
    return n;
  }

 private:
  void Put(char c) {
    static constexpr std::string_view kStart = "error: '";
    static constexpr std::string_view kEnd = "' is not a valid integer value";
    if (c == '\n') {
      if (line_.size() >= kStart.size() && !EndsWith(line_, kEnd)) {
        Fail("an error: line without the whole message", line_);
      }
      line_.clear();
      length_ = 0;
      return;
    }
    if (length_ < kStart.size()) keep_ = (length_ == 0 || keep_) && c == kStart[length_];
    if (keep_) line_ += c;
    ++length_;
  }
  static bool EndsWith(const std::string& s, std::string_view end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
  }

  std::string line_;   // the current line while it may be an error: line
  size_t length_ = 0;  // bytes of the current line
  bool keep_ = false;
};

// One line, short, with no control byte before its '\n'.
void CheckMessage(const std::string& message) {
  if (message.find('\n') != message.size() - 1) Fail("exit 2: not exactly one line", message);
  if (message.size() > 320) Fail("exit 2: a message longer than 320 bytes", message);
  for (size_t i = 0; i + 1 < message.size(); ++i) {
    const auto byte = static_cast<unsigned char>(message[i]);
    if (byte < 0x20 || byte == 0x7f) Fail("exit 2: a control byte in the message", message);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  ErrorLineCheck outBuffer;
  std::ostream out(&outBuffer);
  std::ostringstream err;
  kragmoor::ScriptOptions options;
  options.maxFrames = kFrameLimit;
  options.files.clear();  // no save or load may touch the machine's files (the default)
  const int code = kragmoor::RunScript(in, out, err, options);
  const std::string message = err.str();
  if (code == 0) {
    if (!message.empty()) Fail("exit 0 with something on standard error", message);
  } else if (code == 2) {
    if (message.rfind("kragmoor-sim: line ", 0) != 0) Fail("exit 2 without the message", message);
    CheckMessage(message);
  } else {
    Fail("exit code neither 0 nor 2", message);
  }
  return 0;
}
