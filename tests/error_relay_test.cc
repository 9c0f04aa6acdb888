// Bot standard-error lines relayed to a descriptor that takes no more: to a
// pipe nobody reads, or whose reader has gone. The caller is never held up
// nor killed by SIGPIPE, and the lines that could not go are counted.
#include "game/platform/error_relay.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

namespace kragmoor {
namespace {

TEST(ErrorRelay, AStuckOrGoneReaderCostsLinesNotTheGame) {
  const std::string line(1000, 'x');
  for (const bool readerGone : {false, true}) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    if (readerGone) close(ends[0]);
    int64_t dropped = 0;
    {
      ErrorRelay relay(ends[1]);
      // Far more than the pipe and the queue hold together.
      for (int i = 0; i < 5000; ++i) relay.Line(line);
      dropped = relay.dropped();
    }  // gives up within its closing wait
    EXPECT_GT(dropped, 0) << (readerGone ? "reader gone" : "reader stuck");
    close(ends[1]);
    if (!readerGone) close(ends[0]);
  }
}

}  // namespace
}  // namespace kragmoor
