// Steady play runs on preallocated state only: once a game is under way no
// update touches the heap. Counts operator new of the test's own thread (the
// sound mixer's thread is not the game's). Every form of new and delete is
// replaced, so under AddressSanitizer, which intercepts the malloc and free
// underneath, allocation and release always match.
#include "harness.h"
#include "harness_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <new>

namespace {
thread_local long newCount = 0;

void* CountedNew(std::size_t size) {
    ++newCount;
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}

void* CountedAlignedNew(std::size_t size, std::align_val_t align) {
    ++newCount;
    const std::size_t alignment = static_cast<std::size_t>(align);
    void* p = std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment + alignment);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}

// Follows the lowest thing falling towards the paddle; launches held balls.
void Autopilot(GameHarness& h) {
    bb_Skitterbat_MyApp& game = h.game;
    float targetX = game.PaddleX, lowest = -1e9f;
    bool held = false;
    for (int r = 0; r < ObjectRecords; ++r) {
        const float* o = game.Objects.Data() + 10 * r;
        if (!(o[ObjColour] > 0)) continue;
        const float kind = o[ObjKind];
        held = held || kind == KindBallHeld;
        const bool flyer = kind == KindBallFlying || (kind >= 1 && kind <= 4);
        if (flyer && o[ObjDY] > 0 && o[ObjY] > lowest) {
            lowest = o[ObjY];
            targetX = o[ObjX];
        }
    }
    h.MouseToGame(targetX, static_cast<float>(game.PaddleY));
    h.MouseButton(held && game.FlyingCount == 0 && h.Input().KeyDown(1) == 0);
}
} // namespace

void* operator new(std::size_t size) {
    return CountedNew(size);
}
void* operator new[](std::size_t size) {
    return CountedNew(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return CountedNew(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return CountedNew(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new(std::size_t size, std::align_val_t align) {
    return CountedAlignedNew(size, align);
}
void* operator new[](std::size_t size, std::align_val_t align) {
    return CountedAlignedNew(size, align);
}
void* operator new(std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept {
    try {
        return CountedAlignedNew(size, align);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, std::align_val_t align, const std::nothrow_t&) noexcept {
    try {
        return CountedAlignedNew(size, align);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept {
    std::free(p);
}

TEST(SteadyPlay, UpdatesAllocateNothing) {
    // The counter itself must be in place, or the test below proves nothing.
    const long counted = newCount;
    delete new int(1);
    ASSERT_EQ(newCount, counted + 1);

    TestDataDir data;
    // Every effect has a file, so effects really start on the sound device.
    for (int n = 1; n <= 99; ++n) data.WriteWav(bb_Skitterbat_MyApp::SfxFileName(n).ToCString(), 0.05);
    HarnessOptions options;
    options.dataDir = data.Path();
    GameHarness h(options);
    h.StartGame(3, 1234);
    // The first seconds: planting, the round intro, the first centipede.
    for (int i = 0; i < 400; ++i) {
        Autopilot(h);
        h.Frames();
    }
    ASSERT_EQ(h.game.RoundPhase, 10);

    long allocations = 0, allocatingUpdates = 0, podsSeen = 0;
    for (int i = 0; i < 600; ++i) {
        Autopilot(h);
        const long before = newCount;
        h.Update();
        const long made = newCount - before;
        allocations += made;
        if (made > 0) ++allocatingUpdates;
        h.Render();
        podsSeen = std::max<long>(podsSeen, h.game.MoverCount - h.game.BallCount);
    }
    EXPECT_EQ(allocations, 0) << allocatingUpdates << " of 600 updates allocated";
    // It was real play: still a game, pods flew and text was drawn.
    EXPECT_EQ(h.game.Mode, ModePlaying);
    EXPECT_GT(podsSeen, 0);
    EXPECT_TRUE(h.HasText("Lives"));
}
