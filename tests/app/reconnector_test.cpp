// The reconnect watch's pause when hang-ups come too fast.
#include "app/reconnector.h"
#include "tests/support/qtwait.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace rovi;
using namespace std::chrono_literals;

TEST(HangupBackoff, ThreeHangupsWithinTwoSecondsPauseTheWatchFiveSeconds)
{
    const auto t0 = HangupBackoff::Clock::time_point{} + 100s;
    struct Step {
        std::chrono::milliseconds at;
        std::chrono::milliseconds delay;
    };
    const Step steps[] = {
        {0ms, 0ms},       // an unplug
        {300ms, 0ms},     // reopened, and gone again at once
        {600ms, 5000ms},  // the third within two seconds: pause
        {5700ms, 0ms},    // counted anew after the pause
        {6000ms, 0ms},
        {9000ms, 0ms},    // the earlier two are more than two seconds old
        {9300ms, 0ms},
        {9600ms, 5000ms},
    };
    HangupBackoff backoff;
    for (const Step &s : steps) {
        SCOPED_TRACE(s.at.count());
        EXPECT_EQ(backoff.DelayAfterHangup(t0 + s.at), s.delay);
    }
}

TEST(Reconnector, WatchingGoesOnThroughThePauseAndStopEndsIt)
{
    int reopened = 0;
    Reconnector watch(nullptr, [&] { return ++reopened > 0; });
    for (int i = 0; i < HangupBackoff::kFlaps; ++i)
        watch.Watch("COM199");
    EXPECT_TRUE(watch.BackingOff());
    EXPECT_TRUE(watch.Watching());
    watch.Stop();
    EXPECT_FALSE(watch.BackingOff());
    EXPECT_FALSE(watch.Watching());
    EXPECT_EQ(reopened, 0);
}

// A device that is back but cannot be opened yet (its permissions not set
// yet) is watched on until it opens.
TEST(Reconnector, KeepsWatchingUntilTheReopenSucceeds)
{
    test::TempDir dir;
    std::ofstream("device") << ""; // present from the start
    int tries = 0;
    Reconnector watch(nullptr, [&] { return ++tries >= 3; });
    watch.Watch((dir.Path() / "device").string());
    ASSERT_TRUE(test::WaitUntil([&] { return !watch.Watching(); }, 5000));
    EXPECT_EQ(tries, 3);
}
