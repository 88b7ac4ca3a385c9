// The run of aborted reads that ends the Windows reader with a hang-up.
#include "serial/abortrun.h"

#include <gtest/gtest.h>

using namespace rovi;
using namespace std::chrono_literals;

TEST(AbortRun, FiftyAbortsWithinASecondAreAHangup)
{
    const auto t0 = AbortRun::Clock::time_point{} + 100s;
    struct Row {
        const char *name;
        std::chrono::milliseconds spacing;
        int aborts;
        bool hangup_at_last;
    };
    const Row rows[] = {
        {"49 at once", 0ms, 49, false},
        {"50 at once", 0ms, 50, true},
        {"50 within a second", 20ms, 50, true},    // 980 ms from first to last
        {"one every 25 ms", 25ms, 200, false},      // never 50 within a second
        {"a purge now and then", 500ms, 100, false},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        AbortRun run;
        bool hangup = false;
        for (int i = 0; i < r.aborts; ++i)
            hangup = run.IsHangup(t0 + i * r.spacing);
        EXPECT_EQ(hangup, r.hangup_at_last);
    }
}

TEST(AbortRun, AReadThatCompletesEndsTheRun)
{
    const auto t0 = AbortRun::Clock::time_point{} + 100s;
    AbortRun run;
    for (int i = 0; i < 49; ++i)
        ASSERT_FALSE(run.IsHangup(t0));
    run.Reset();
    EXPECT_FALSE(run.IsHangup(t0));
}
