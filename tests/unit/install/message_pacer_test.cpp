// The pace at which the file phase lets window messages run.
#include <gtest/gtest.h>

#include "install/message_pacer.h"

namespace {

TEST(MessagePacer, RunsFirstThenOncePerIntervalAndAfterTheClockWraps) {
  constexpr uint64_t kStep = TMessagePacer::kIntervalMilliseconds;
  struct Step {
    uint64_t now;
    bool due;
  };
  const Step steps[] = {
      {1000, true},              // the first block of a phase
      {1000, false},             // the same tick
      {1000 + kStep - 1, false}, // one millisecond short
      {1000 + kStep, true},      // the interval has passed
      {1000 + kStep + 1, false},
      {5000, true},              // a long block (a slow disk) is followed at once
      {4000, true},              // a clock that went back (the 32-bit tick count wrapped)
      {4000 + kStep - 1, false},
  };
  TMessagePacer pacer;
  for (const Step& step : steps) EXPECT_EQ(pacer.Due(step.now), step.due) << step.now;
}

TEST(MessagePacer, ARunElsewhereStartsTheIntervalAgain) {
  TMessagePacer pacer;
  EXPECT_TRUE(pacer.Due(0));
  pacer.Ran(100);
  EXPECT_FALSE(pacer.Due(100 + TMessagePacer::kIntervalMilliseconds - 1));
  EXPECT_TRUE(pacer.Due(100 + TMessagePacer::kIntervalMilliseconds));
}

}  // namespace
