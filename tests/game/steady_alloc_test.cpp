// Steady play runs on preallocated state only: once a game is under way no
// update touches the heap. Counts operator new of the test's own thread (the
// sound mixer's thread is not the game's) with the benchmarks' counters.
#include "alloc_counter.h"
#include "harness.h"
#include "harness_data.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(SteadyPlay, UpdatesAllocateNothing) {
    // The counter itself must be in place, or the test below proves nothing.
    const uint64_t counted = CurrentAllocs().news;
    // A direct call: the compiler may drop a new-expression whose result goes unused.
    ::operator delete(::operator new(sizeof(int)));
    ASSERT_EQ(CurrentAllocs().news, counted + 1);

    TestDataDir data;
    // Every effect has a file, so effects really start on the sound device.
    for (int n = 1; n <= 99; ++n) data.WriteWav(bb_Skitterbat_MyApp::SfxFileName(n).ToCString(), 0.05);
    HarnessOptions options;
    options.dataDir = data.Path();
    GameHarness h(options);
    h.StartGame(3, 1234);
    // The first seconds: planting, the round intro, the first centipede.
    for (int i = 0; i < 400; ++i) {
        h.SteerAutopilot();
        h.Frames();
    }
    ASSERT_EQ(h.game.RoundPhase, 10);

    // An earned badge writes the state file at once, which allocates: those
    // few updates are not steady play.
    long allocations = 0, allocatingUpdates = 0, podsSeen = 0, savingUpdates = 0;
    for (int i = 0; i < 600; ++i) {
        h.SteerAutopilot();
        const uint64_t before = CurrentAllocs().news;
        const int saves = h.platform.stateSaves;
        h.Update();
        const long made = static_cast<long>(CurrentAllocs().news - before);
        if (h.platform.stateSaves != saves) {
            ++savingUpdates;
        } else {
            allocations += made;
            if (made > 0) ++allocatingUpdates;
        }
        h.Render();
        podsSeen = std::max<long>(podsSeen, h.game.MoverCount - h.game.BallCount);
    }
    EXPECT_EQ(allocations, 0) << allocatingUpdates << " of 600 updates allocated";
    EXPECT_LT(savingUpdates, 10);
    // It was real play: still a game, pods flew and text was drawn.
    EXPECT_EQ(h.game.Mode, ModePlaying);
    EXPECT_GT(podsSeen, 0);
    EXPECT_TRUE(h.HasText("Lives"));
}
