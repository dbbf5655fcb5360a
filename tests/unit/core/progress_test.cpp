#include <gtest/gtest.h>

#include "core/progress.h"

namespace lorvex {
namespace {

// Quiet for the first second (drawn from its end on), then at most four draws a second with the
// time to go at the pace so far, erased at the end; nothing at all off a terminal.
TEST(Progress, DrawsAfterASecondAtMostFourTimesASecondAndErases) {
    for (const bool terminal : {true, false}) {
        CapturingConsole console(terminal);
        VirtualClock clock;
        {
            Progress progress(console, clock);
            progress.update(1, 42);
            clock.sleepMs(1000);
            progress.update(10, 42);
            clock.sleepMs(100);
            progress.update(11, 42);
            clock.sleepMs(150);
            progress.update(0, 42);
            clock.sleepMs(63'000);
            progress.update(3'000, 12'000, Progress::Unit::Bytes);
        }
        EXPECT_EQ(console.progressLines(), terminal ? "lorvex: 10/42, 0:01, 0:03 left\n"
                                                      "lorvex: 0/42, 0:01\n"
                                                      "lorvex: 25%, 1:04, 3:12 left\n"
                                                      "\n"
                                                    : "");
        EXPECT_EQ(console.text(), "");
    }
}

}  // namespace
}  // namespace lorvex
