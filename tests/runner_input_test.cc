// The runner against bad input and failing I/O: read errors, lines and texts
// past their limits, echoed input that would garble a terminal, numbers out
// of range, whole conversion messages, output that cannot be written, and
// the frame limit that keeps arbitrary scripts short.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>
#include <streambuf>
#include <string>
#include <utility>

#include "game/line_reader.h"
#include "game/quote.h"
#include "game/words.h"
#include "runner/fd_stream.h"
#include "runner/match.h"
#include "runner/script.h"

namespace kragmoor {
namespace {

struct Result {
  int code;
  std::string out;
  std::string err;
};

Result RunStream(std::istream& in) {
  std::ostringstream out;
  std::ostringstream err;
  const int code = RunScript(in, out, err);
  return {code, out.str(), err.str()};
}

Result RunText(const std::string& script) {
  std::istringstream in(script);
  return RunStream(in);
}

// With a bound on the frames of the whole script, as the fuzzer runs it.
Result RunLimited(const std::string& script, int64_t maxFrames) {
  std::istringstream in(script);
  std::ostringstream out;
  std::ostringstream err;
  const int code = RunScript(in, out, err, maxFrames);
  return {code, out.str(), err.str()};
}

// Serves `text`, then `fill` bytes without end, counting what it served.
class EndlessBuffer final : public std::streambuf {
 public:
  EndlessBuffer(std::string text, char fill) : text_(std::move(text)), fill_(fill) {}
  size_t served = 0;

 protected:
  int_type underflow() override {
    const char& c = served < text_.size() ? text_[served] : fill_;
    setg(const_cast<char*>(&c), const_cast<char*>(&c), const_cast<char*>(&c) + 1);
    ++served;
    return traits_type::to_int_type(c);
  }

 private:
  std::string text_;
  char fill_;
};

TEST(RunnerInput, ReadErrorsAreNeverTheEndOfTheScript) {
  // A directory opens but cannot be read: the lines before the error never
  // existed, so nothing runs, and the message names the input and the reason.
  const int fd = ::open(".", O_RDONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  FdInBuffer directory(fd);
  std::istream in(&directory);
  std::ostringstream out;
  std::ostringstream err;
  ScriptOptions options;
  options.inputName = "'.'";
  EXPECT_EQ(RunScript(in, out, err, options), 2);
  EXPECT_EQ(err.str(), "kragmoor-sim: cannot read '.' : Is a directory\n");
  ::close(fd);

  // A stream that failed to open is not an empty script.
  std::istringstream failed;
  failed.setstate(std::ios::failbit);
  const Result closed = RunStream(failed);
  EXPECT_EQ(closed.code, 2);
  EXPECT_EQ(closed.err, "kragmoor-sim: cannot read the script\n");
}

TEST(RunnerInput, LinesAndTextsHaveLimits) {
  // An endless line is refused after the limit, never held whole.
  EndlessBuffer zeros("hash\n", '\0');
  std::istream in(&zeros);
  const Result endless = RunStream(in);
  EXPECT_EQ(endless.code, 2);
  EXPECT_EQ(endless.err, "kragmoor-sim: line 2: the line is longer than 1048576 bytes\n");
  EXPECT_EQ(endless.out.substr(0, 5), "hash ");
  EXPECT_LE(zeros.served, 5 + kMaxLineBytes + 1);

  // A line of exactly the limit is read (and then judged as a command).
  const Result longest = RunText("#" + std::string(kMaxLineBytes - 1, 'a') + "\nprint live\n");
  EXPECT_EQ(longest.code, 0) << longest.err;

  const std::string text(kMaxTextBytes, 'a');
  EXPECT_EQ(RunText("set 3 order=\"" + text + "\"\n").code, 0);
  EXPECT_EQ(RunText("set 3 nextOrder=\"" + text + "a\"\n").err,
            "kragmoor-sim: line 1: a text of 65537 bytes is longer than the limit of 65536 "
            "bytes\n");
}

TEST(RunnerInput, EchoedInputIsEscapedAndShortened) {
  EXPECT_EQ(Quoted("idtiza 5"), "'idtiza 5'");
  EXPECT_EQ(Quoted("Выбранный"), "'Выбранный'");
  EXPECT_EQ(Quoted(std::string("\x1b]0;t\x07\0\x7f\\", 9)), "'\\x1b]0;t\\x07\\x00\\x7f\\\\'");
  EXPECT_EQ(Quoted("\xff\xc3(\xe2\x82\xc2\x9b"),
            "'\\xff\\xc3(\\xe2\\x82\\xc2\\x9b'");        // bad UTF-8, C1 CSI
  EXPECT_EQ(Quoted("\xc0\xaf\xed\xa0\x80\xe2\x80\xae"),  // overlong, surrogate, right-to-left
            "'\\xc0\\xaf\\xed\\xa0\\x80\\xe2\\x80\\xae'");
  EXPECT_EQ(Quoted(std::string(41, 'a')), "'" + std::string(40, 'a') + "…'");
  EXPECT_EQ(Quoted(std::string(40, 'a')), "'" + std::string(40, 'a') + "'");

  // Through the reader: one short line whatever the word held.
  const Result hostile = RunText("\x1b[2J" + std::string(200000000 / 1000, 'x') + "\n");
  EXPECT_EQ(hostile.err,
            "kragmoor-sim: line 1: unknown command '\\x1b[2J" + std::string(36, 'x') + "…'\n");
}

TEST(RunnerInput, NumbersOutOfRangeSayTheRange) {
  EXPECT_EQ(RunText("seed 4294967296\n").err,
            "kragmoor-sim: line 1: '4294967296' is out of range 0 to 4294967295\n");
  EXPECT_EQ(RunText("gold 0 99999999999999999999\n").err,
            "kragmoor-sim: line 1: '99999999999999999999' is out of range -2147483648 to "
            "2147483647\n");
  EXPECT_EQ(RunText("set 3 x=1e39\n").err,
            "kragmoor-sim: line 1: '1e39' is out of range -3.4028235e+38 to 3.4028235e+38\n");
  EXPECT_EQ(RunText("camera 0 -1e-50\n").err,
            "kragmoor-sim: line 1: '-1e-50' is out of range: the 32-bit float nearest 0 is "
            "1e-45\n");
  EXPECT_EQ(RunText("seed 12x\n").err, "kragmoor-sim: line 1: '12x' is not a valid number\n");
  EXPECT_EQ(RunText("set 3 y=1e39x\n").err, "kragmoor-sim: line 1: '1e39x' is not a valid float\n");
}

TEST(RunnerInput, TextsHoldNoDoubleQuote) {
  EXPECT_EQ(RunText("set 3 order=\"a\"b\"c\"\n").err,
            "kragmoor-sim: line 1: '\"a\"b\"c\"' is not one text: a text cannot hold a double "
            "quote\n");
  EXPECT_EQ(RunText("set 3 order=\"a\"\"\"\n").code, 2);
  EXPECT_EQ(RunText("set 3 order=\"a b\" nextOrder=\"\"\n").code, 0);
}

TEST(RunnerInput, ConversionErrorsPrintWhole) {
  const std::string number("1\0002\x1b", 4);
  const Result r =
      RunText("ai 0 0 0\nreset\nset 0 hp=1 kind=-1 order=\"idtiza " + number + "\"\nstep\n");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "error: '" + number + "' is not a valid integer value\n");

  // Traced, the error is the frame's last line, after the calls it made.
  const Result traced = RunText("ai 0 0 0\nreset\nset 0 hp=1 kind=-1 order=\"idtiza 1x\"\ntrace\n");
  EXPECT_EQ(traced.code, 0) << traced.err;
  const std::string last = "glEnd\nerror: '1x' is not a valid integer value\n";
  ASSERT_GE(traced.out.size(), last.size());
  EXPECT_EQ(traced.out.substr(traced.out.size() - last.size()), last);
  EXPECT_EQ(traced.out.find("SwapBuffers"), std::string::npos);
}

TEST(RunnerInput, OutputThatCannotBeWrittenIsAnError) {
  const int fd = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
  if (fd < 0) GTEST_SKIP() << "no /dev/full";
  FdOutBuffer full(fd, "standard output");
  std::ostream out(&full);
  out.exceptions(std::ios::badbit);
  std::istringstream in("print 0\n");
  std::ostringstream err;
  try {
    RunScript(in, out, err);
    out.flush();
    ADD_FAILURE() << "the write to /dev/full passed";
  } catch (const WriteError& error) {
    EXPECT_STREQ(error.what(), "cannot write standard output : No space left on device");
  }
  ::close(fd);
}

TEST(RunScript, FrameLimitCountsEveryFrameRunningCommand) {
  // step, trace and resize all count; exactly the limit is allowed.
  const Result ok = RunLimited("ai 0 0 0\nstep 3\nresize 100 100\ntrace\nprint view\n", 5);
  EXPECT_EQ(ok.code, 0);
  EXPECT_EQ(ok.err, "");
  EXPECT_NE(ok.out.find("view mouse=0,0 camera=5,5"), std::string::npos) << ok.out;

  // The command that would pass the limit runs none of its frames.
  const Result over = RunLimited("ai 0 0 0\nstep 4\nstep 2\nprint view\n", 5);
  EXPECT_EQ(over.code, 2);
  EXPECT_EQ(over.out, "");
  EXPECT_EQ(over.err, "kragmoor-sim: line 3: the frame limit of 5 frames is reached\n");

  const Result huge = RunLimited("step 2000000000\n", 20);
  EXPECT_EQ(huge.code, 2);
  EXPECT_EQ(huge.err, "kragmoor-sim: line 1: the frame limit of 20 frames is reached\n");
}

TEST(RunScript, WithoutALimitLongStepsRun) {
  std::istringstream in("ai 0 0 0\nstep 1000\nprint view\n");
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(RunScript(in, out, err), 0);
  EXPECT_EQ(out.str(), "view mouse=0,0 camera=1000,1000 cursor=-20,-20 selected=-1\n");
}

TEST(RunMatches, OutputWaitingForItsTurnIsBounded) {
  // With no room for waiting output, matches start one by one behind the
  // one printed; at most the matches under way wait, and nothing changes.
  MatchOptions options;
  options.frames = 200;
  options.hashEvery = 1;
  const SeedRange seeds{1, 9};
  std::ostringstream free;
  RunMatches(options, seeds, 3, free);
  std::ostringstream bounded;
  const size_t peak = RunMatches(options, seeds, 3, bounded, 1);
  EXPECT_EQ(bounded.str(), free.str());
  size_t longest = 0;
  for (uint32_t seed = seeds.first; seed <= seeds.last; ++seed) {
    std::ostringstream one;
    options.seed = seed;
    RunMatch(options, one);
    longest = std::max(longest, one.str().size());
  }
  EXPECT_LE(peak, 3 * longest);
}

}  // namespace
}  // namespace kragmoor
