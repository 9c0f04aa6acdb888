// The script reader's optional frame limit, which lets a caller that feeds it
// arbitrary text (the fuzzer) bound the frames a script may run.
#include "runner/script.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace kragmoor {
namespace {

struct Result {
  int code;
  std::string out;
  std::string err;
};

Result RunLimited(const std::string& script, int64_t maxFrames) {
  std::istringstream in(script);
  std::ostringstream out;
  std::ostringstream err;
  const int code = RunScript(in, out, err, maxFrames);
  return {code, out.str(), err.str()};
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

}  // namespace
}  // namespace kragmoor
