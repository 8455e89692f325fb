#include "audio/gxtk_audio.h"
#include "host/gxtk_app.h"
#include "runtime/headless_platform.h"

#include <AL/al.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr double kPeriod = 1.0 / 60.0;

// Logs every callback the loop makes, with the clock at the time.
class RecordingApp : public gxtkApp {
  public:
    int rate = 60;
    std::vector<std::string> calls;
    std::vector<double> updateTimes;
    std::vector<int> updatesPerRender; // updates run since the previous render
    int updatesSinceRender = 0;
    std::function<void(int)> onUpdate; // given the update's number, from 1
    std::function<void(int)> onRender; // given the render's number, from 1
    std::function<void()> onSuspend;
    std::function<void()> onResume;

    int OnCreate() override {
        calls.push_back("create");
        SetUpdateRate(rate);
        return 0;
    }
    int OnUpdate() override {
        calls.push_back("update");
        updateTimes.push_back(gxtk_platform->Time());
        ++updatesSinceRender;
        if (onUpdate) onUpdate(static_cast<int>(updateTimes.size()));
        return 0;
    }
    int OnRender() override {
        calls.push_back("render");
        updatesPerRender.push_back(updatesSinceRender);
        updatesSinceRender = 0;
        if (onRender) onRender(static_cast<int>(updatesPerRender.size()));
        return 0;
    }
    int OnSuspend() override {
        calls.push_back("suspend");
        if (onSuspend) onSuspend();
        return 0;
    }
    int OnResume() override {
        calls.push_back("resume");
        if (onResume) onResume();
        return 0;
    }
    int Count(const std::string& name) const {
        int n = 0;
        for (const std::string& call : calls) n += call == name;
        return n;
    }
};

// A real sleep lasts at least a little while. Exact sleeps would let the loop's
// single-precision due test creep up on the next update in ever tinier steps.
class SleepingPlatform : public HeadlessPlatform {
  public:
    void Sleep(double seconds) override { HeadlessPlatform::Sleep(seconds < 1e-6 ? 1e-6 : seconds); }
};

class Loop : public testing::Test {
  protected:
    void SetUp() override {
        platform.now = 10.0;
        gxtk_platform = &platform;
    }
    void TearDown() override { gxtk_platform = nullptr; }

    SleepingPlatform platform;
};

ALint SourceState(unsigned int source) {
    ALint state = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

} // namespace

TEST_F(Loop, LongStallRunsSevenUpdatesThenNormalPacing) {
    RecordingApp host;
    double nextAfterBurst = 0, clockAfterBurst = 0;
    host.onRender = [&](int render) {
        if (render == 4) platform.now += 1.0; // a stall of 60 periods
        if (render == 5) {
            nextAfterBurst = host.nextUpdateTime;
            clockAfterBurst = platform.now;
        }
    };
    host.onUpdate = [&](int update) {
        if (update == 3 + 7 + 4) platform.opened = false;
    };
    host.Run();

    // The first render comes before any update; one update per frame until the
    // stall, seven at once after it, then one per frame again.
    EXPECT_EQ(host.updatesPerRender, (std::vector<int>{0, 1, 1, 1, 7, 1, 1, 1, 1}));
    EXPECT_EQ(nextAfterBurst, clockAfterBurst); // the backlog was dropped
    ASSERT_EQ(host.updateTimes.size(), 14u);
    // The update after the burst is due at once; later ones a period apart.
    EXPECT_NEAR(host.updateTimes[10], clockAfterBurst, 1e-5);
    for (size_t i = 11; i < host.updateTimes.size(); ++i)
        EXPECT_NEAR(host.updateTimes[i] - host.updateTimes[i - 1], kPeriod, 1e-5) << i;
    for (size_t i = 1; i < 3; ++i) EXPECT_NEAR(host.updateTimes[i] - host.updateTimes[i - 1], kPeriod, 1e-5);
    // Only the close suspends, to let the application save.
    EXPECT_EQ(host.Count("suspend"), 1);
    EXPECT_EQ(host.calls.back(), "suspend");
    EXPECT_EQ(platform.swaps, 9);
    // Events are polled once per frame that updates.
    EXPECT_EQ(platform.polls, 8);
    EXPECT_EQ(platform.waits, 0);
}

TEST_F(Loop, RateZeroRendersOncePerEventAndNeverUpdates) {
    RecordingApp host;
    host.rate = 0;
    platform.onWait = [&] {
        if (platform.waits == 3) platform.width = 0; // no render while empty
        if (platform.waits == 4) platform.width = 320;
        if (platform.waits == 6) platform.opened = false;
    };
    host.Run();
    EXPECT_EQ(host.Count("update"), 0);
    // One first render, then one per pass before each wait, less the empty one.
    EXPECT_EQ(host.Count("render"), 1 + 6 - 1);
    EXPECT_EQ(platform.waits, 6);
    EXPECT_EQ(platform.polls, 0);
    EXPECT_EQ(platform.sleptSeconds, 0);
    EXPECT_EQ(host.ownedGraphics->Width(), 320);
}

TEST_F(Loop, SuspendAndResumeFollowTheWindow) {
    RecordingApp host;

    // A looping sound on channel 0 shows what the audio device does around the callbacks.
    unsigned int buffer = 0;
    alGenBuffers(1, &buffer);
    std::vector<short> silence(22050);
    alBufferData(buffer, AL_FORMAT_MONO16, silence.data(), static_cast<ALsizei>(silence.size() * 2), 22050);
    ASSERT_EQ(alGetError(), AL_NO_ERROR);
    auto sample = std::make_shared<gxtkSample>(buffer);
    host.ownedAudio->PlaySample(sample, 0, 1);
    unsigned int source = host.ownedAudio->channels[0].source;
    ASSERT_EQ(SourceState(source), AL_PLAYING);

    std::vector<ALint> seen;
    host.onSuspend = [&] { seen.push_back(SourceState(source)); };
    int rendersWhenResumed = -1;
    host.onResume = [&] {
        seen.push_back(SourceState(source));
        rendersWhenResumed = host.Count("render");
        EXPECT_EQ(host.nextUpdateTime, platform.now + kPeriod); // timing restarted
    };
    bool runningBeforeClose = false;
    host.onUpdate = [&](int update) {
        if (update == 5) platform.iconified = true;
        if (update == 8) {
            runningBeforeClose =
                !host.isSuspended && host.updatesPerSecond == 60 && SourceState(source) == AL_PLAYING;
            platform.opened = false;
        }
    };
    int rendersWhenSuspended = -1;
    double resumedAt = 0;
    platform.onWait = [&] {
        if (platform.waits == 1) {
            rendersWhenSuspended = host.Count("render");
            seen.push_back(SourceState(source));
            EXPECT_EQ(host.updatesPerSecond, 60); // kept for the resume
        }
        // Wait 2 is a second event while still iconified: nothing happens.
        if (platform.waits == 3) {
            platform.iconified = false; // restored, but without the focus yet
            platform.active = false;
        }
        if (platform.waits == 4) {
            platform.active = true;
            platform.now += 5.0;
            resumedAt = platform.now;
        }
    };
    host.Run();

    EXPECT_EQ(host.Count("suspend"), 2); // the iconify and the close
    EXPECT_EQ(host.Count("resume"), 1);
    EXPECT_EQ(platform.waits, 4);
    // The application hears of the suspend before the sound pauses, and of the
    // resume after it plays again.
    EXPECT_EQ(seen, (std::vector<ALint>{AL_PLAYING, AL_PAUSED, AL_PLAYING, AL_PLAYING}));
    EXPECT_TRUE(runningBeforeClose);
    EXPECT_EQ(rendersWhenResumed, rendersWhenSuspended); // nothing drawn while suspended
    // Callbacks other than renders, with runs of updates shown once.
    std::vector<std::string> order;
    for (const std::string& call : host.calls) {
        if (call == "render" || (call == "update" && !order.empty() && order.back() == "update")) continue;
        order.push_back(call);
    }
    EXPECT_EQ(order,
              (std::vector<std::string>{"create", "update", "suspend", "resume", "update", "suspend"}));
    // No catching up after the suspension: the first update comes one full period later.
    ASSERT_EQ(host.updateTimes.size(), 8u);
    EXPECT_NEAR(host.updateTimes[5] - resumedAt, kPeriod, 1e-5);
    EXPECT_NEAR(host.updateTimes[6] - host.updateTimes[5], kPeriod, 1e-5);
    // The close suspended it as an iconify does.
    EXPECT_TRUE(host.isSuspended);
    EXPECT_EQ(SourceState(source), AL_PAUSED);

    host.ownedAudio->StopChannel(0);
}

TEST_F(Loop, EmptyWindowSkipsStepsButKeepsTime) {
    RecordingApp host;
    host.onUpdate = [&](int update) {
        if (update == 2) platform.width = 0;
        if (update == 5) platform.opened = false;
    };
    int pollsWhileEmpty = 0;
    platform.onPoll = [&] {
        if (platform.width == 0 && ++pollsWhileEmpty == 10) platform.height = 0;
        if (pollsWhileEmpty == 20) {
            platform.width = 640;
            platform.height = 480;
        }
    };
    host.Run();
    ASSERT_EQ(host.updateTimes.size(), 5u);
    // Twenty ticks passed without an update or a render, and no burst followed them.
    EXPECT_NEAR(host.updateTimes[2] - host.updateTimes[1], 20 * kPeriod, 1e-4);
    EXPECT_NEAR(host.updateTimes[3] - host.updateTimes[2], kPeriod, 1e-5);
    EXPECT_EQ(host.updatesPerRender, (std::vector<int>{0, 1, 2, 1, 1}));
    EXPECT_EQ(platform.polls, 5 + 19);
    // Only the close suspends, to let the application save.
    EXPECT_EQ(host.Count("suspend"), 1);
    EXPECT_EQ(host.calls.back(), "suspend");
}

TEST_F(Loop, UnfocusedVisibleWindowKeepsRunning) {
    RecordingApp host;
    platform.active = false;
    host.onUpdate = [&](int update) {
        if (update == 10) platform.opened = false;
    };
    host.Run();
    EXPECT_EQ(host.Count("update"), 10);
    EXPECT_EQ(host.Count("render"), 11);
    // Only the close suspends, to let the application save.
    EXPECT_EQ(host.Count("suspend"), 1);
    EXPECT_EQ(host.calls.back(), "suspend");
    EXPECT_EQ(platform.waits, 0);
}

TEST_F(Loop, RateChangesClockAndClosedWindow) {
    RecordingApp host;
    EXPECT_EQ(app, &host);
    EXPECT_EQ(gxtkApp::runner, &RunApp);
    platform.now = 2.5;
    EXPECT_EQ(host.MilliSecs(), 2500);
    platform.now = 0.0019;
    EXPECT_EQ(host.MilliSecs(), 1);

    EXPECT_EQ(host.SetUpdateRate(30), 0);
    EXPECT_EQ(host.secondsPerUpdate, 1.0 / 30);
    EXPECT_EQ(host.nextUpdateTime, 0.0019 + 1.0 / 30);
    EXPECT_EQ(host.SetUpdateRate(0), 0);
    EXPECT_EQ(host.updatesPerSecond, 0);
    EXPECT_EQ(host.secondsPerUpdate, 1.0 / 30); // rate 0 touches nothing else

    // A window closed before the loop starts still gets its create and first
    // render, and the suspend that lets it save.
    platform.opened = false;
    host.Run();
    EXPECT_EQ(host.calls, (std::vector<std::string>{"create", "render", "suspend"}));
}

TEST(LoopDeathTest, CreateWithEmptyWindowAborts) {
    HeadlessPlatform platform;
    platform.height = 0;
    gxtk_platform = &platform;
    RecordingApp host;
    EXPECT_EXIT(host.InvokeOnCreate(), testing::KilledBySignal(SIGABRT), "");
    gxtk_platform = nullptr;
}

TEST_F(Loop, WindowEventsReachTheInputDevice) {
    RecordingApp host;
    gxtkInput* input = host.ownedInput;

    gxtkApp::OnKey(8, gxtkKeyPressed);
    gxtkApp::OnKey(8, gxtkKeyRepeated);
    gxtkApp::OnKey(8, gxtkKeyRepeated);
    EXPECT_EQ(input->KeyDown(8), 1);
    EXPECT_EQ(input->KeyHit(8), 1); // repeats queue characters, not presses
    gxtkApp::OnKey(8, gxtkKeyReleased);
    EXPECT_EQ(input->KeyDown(8), 0);
    gxtkApp::OnKey(65, gxtkKeyPressed); // letters queue through OnChar only
    gxtkApp::OnKey(37, gxtkKeyPressed); // 37 + 65536
    gxtkApp::OnKey(0, gxtkKeyPressed);  // a key without a code
    gxtkApp::OnChar('a', gxtkKeyPressed);
    gxtkApp::OnChar('b', gxtkKeyReleased);
    std::vector<int> chars;
    for (int c; (c = input->GetChar()) != 0;) chars.push_back(c);
    EXPECT_EQ(chars, (std::vector<int>{8, 8, 8, 65573, 'a'}));
    EXPECT_EQ(input->KeyDown(65), 1);

    gxtkApp::OnMouseButton(gxtkMouseLeft, gxtkKeyPressed);
    gxtkApp::OnMouseButton(gxtkMouseRight, gxtkKeyPressed);
    gxtkApp::OnMouseButton(gxtkMouseMiddle, gxtkKeyPressed);
    gxtkApp::OnMouseButton(3, gxtkKeyPressed);
    EXPECT_EQ(input->KeyDown(1) + input->KeyDown(2) + input->KeyDown(3), 3);
    EXPECT_EQ(input->KeyDown(4), 0);
    gxtkApp::OnMouseButton(gxtkMouseRight, gxtkKeyReleased);
    EXPECT_EQ(input->KeyDown(2), 0);
    EXPECT_EQ(input->KeyHit(2), 1);
}
