// Fuzzes the scenario-script reader of `kragmoor-sim run` on arbitrary bytes:
// whatever the script, RunScript returns 0 with nothing on standard error, or
// 2 with exactly one line "kragmoor-sim: line L: <what is wrong>". Anything
// else (another exit code, an escaping exception, a sanitizer report, a hang)
// is a fault.
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

#include "runner/script.h"

namespace {

constexpr int64_t kFrameLimit = 20;  // frame steps per input, all commands together

// Standard output is only counted: a traced frame prints thousands of lines.
class CountingBuffer final : public std::streambuf {
 public:
  size_t bytes = 0;

 protected:
  int_type overflow(int_type c) override {
    if (c != traits_type::eof()) ++bytes;
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char*, std::streamsize n) override {
    bytes += static_cast<size_t>(n);
    return n;
  }
};

void Fail(const char* what, const std::string& err) {
  std::fprintf(stderr, "fuzz_script: %s\nstandard error was: %s\n", what, err.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  CountingBuffer outBuffer;
  std::ostream out(&outBuffer);
  std::ostringstream err;
  const int code = kragmoor::RunScript(in, out, err, kFrameLimit);
  const std::string message = err.str();
  if (code == 0) {
    if (!message.empty()) Fail("exit 0 with something on standard error", message);
  } else if (code == 2) {
    if (message.rfind("kragmoor-sim: line ", 0) != 0) Fail("exit 2 without the message", message);
    if (message.find('\n') != message.size() - 1) Fail("exit 2: not exactly one line", message);
  } else {
    Fail("exit code neither 0 nor 2", message);
  }
  return 0;
}
