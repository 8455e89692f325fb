// The asset loader: its 44 steps, the art levels, the effect files, and
// sound effects on the rotating channels.
#include "harness.h"
#include "harness_data.h"

#include "audio/gxtk_audio.h"
#include "graphics/image.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <set>

namespace {
HarnessOptions Unloaded() {
    HarnessOptions options;
    options.finishLoading = false;
    return options;
}

float SourceFloat(gxtkAudio& audio, int channel, ALenum what) {
    float value = -1;
    alGetSourcef(audio.channels[channel].source, what, &value);
    return value;
}
} // namespace

TEST(Loader, Takes44UpdatesHoldingTheMenuModeAndDrawingTheLoadingScreen) {
    GameHarness h(Unloaded());
    bb_Skitterbat_MyApp& g = h.game;
    EXPECT_EQ(g.LoaderStage, 1);
    EXPECT_EQ(g.Mode, ModeMenu);
    EXPECT_EQ(g.ClsAlpha, 1);

    for (int step = 1; step <= 43; ++step) {
        g.Mode = ModePlaying; // whatever it was, loading keeps the menu mode
        h.Update();
        ASSERT_EQ(g.LoaderStage, step + 1);
        ASSERT_EQ(g.Mode, ModeMenu);
        ASSERT_EQ(g.DrawCount, 25 * 15) << "loading screen at step " << step;
    }
    h.Update();
    EXPECT_EQ(g.LoaderStage, 0);
    EXPECT_EQ(g.DrawCount, 25 * 15);

    // Level 2 for a 640 x 480 window; sizes are kept even for missing files.
    EXPECT_EQ(g.ImageScale, 2);
    EXPECT_EQ(g.ImageInvScale, 0.5f);
    const int sizes[][4] = {{1, 64, 64, 16},   {2, 512, 512, 2},  {80, 128, 128, 64}, {92, 128, 128, 2},
                            {93, 512, 512, 1}, {94, 64, 64, 16},  {95, 128, 128, 16}, {96, 16, 16, 16},
                            {97, 64, 64, 16},  {98, 512, 256, 1}, {99, 512, 512, 4},  {90, 7, 10, 128}};
    for (const auto& s : sizes) {
        EXPECT_EQ(g.ImageSizes[3 * s[0]], s[1]) << s[0];
        EXPECT_EQ(g.ImageSizes[3 * s[0] + 1], s[2]) << s[0];
        EXPECT_EQ(g.ImageSizes[3 * s[0] + 2], s[3]) << s[0];
    }
    EXPECT_EQ(g.FontImage, 90);
}

TEST(Loader, LoadingScreenLayout) {
    GameHarness h(Unloaded());
    bb_Skitterbat_MyApp& g = h.game;
    h.Update();
    EXPECT_EQ(g.SpinAngle, 16);
    EXPECT_EQ(g.ClsRed, 40);
    EXPECT_EQ(g.ClsBlue, 80);
    const std::vector<DrawRecord> r = h.Records();
    ASSERT_EQ(r.size(), 25u);
    const float pi = 3.14159265f;
    // Light dots half a turn ahead, fading in; radius a quarter of the short side.
    EXPECT_TRUE(r[0].IsOval());
    EXPECT_EQ(r[0].alpha, 0);
    EXPECT_EQ(r[10].alpha, 1);
    EXPECT_EQ(r[0].red, 250);
    EXPECT_NEAR(r[0].x, 320 + std::sin((16 + 180) * pi / 180) * 120, 1e-3);
    EXPECT_NEAR(r[0].y, 240 - std::cos((16 + 180) * pi / 180) * 120, 1e-3);
    EXPECT_EQ(r[0].w, 8);
    EXPECT_TRUE(r[11].IsOval());
    EXPECT_NEAR(r[11].w, 144, 1e-3);
    EXPECT_EQ(r[11].blue, 0);
    EXPECT_TRUE(r[12].IsRect());
    EXPECT_NEAR(r[12].y, 192, 1e-3);
    EXPECT_NEAR(r[12].h, 96, 1e-3);
    EXPECT_TRUE(r[13].IsImage(93));
    EXPECT_NEAR(r[13].y, 230.4, 1e-3);
    EXPECT_EQ(r[13].alpha, 1);
    EXPECT_EQ(r[13].red, 255);
    EXPECT_NEAR(r[14].x, 320 + std::sin(16 * pi / 180) * 120, 1e-3);
    EXPECT_EQ(r[24].red, 50);
    h.Update();
    EXPECT_EQ(g.SpinAngle, 32);
}

TEST(Loader, ReadsEveryEffectByItsThreeDigitName) {
    TestDataDir data;
    for (int n = 0; n <= 120; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "sfx/%03d.wav", n);
        data.WriteWav(name, 0.02);
    }
    HarnessOptions options;
    options.dataDir = data.Path();
    GameHarness h(options);
    bb_Skitterbat_MyApp& g = h.game;

    std::set<int> expected = {95, 98, 99};
    for (int n = 1; n <= 21; ++n) expected.insert(n);
    for (int n = 31; n <= 37; ++n) expected.insert(n);
    for (int n = 0; n < 100; ++n) EXPECT_EQ(g.Sounds[n] != nullptr, expected.count(n) == 1) << n;

    EXPECT_EQ(bb_Skitterbat_MyApp::SfxFileName(5), String("sfx/005.wav"));
    EXPECT_EQ(bb_Skitterbat_MyApp::SfxFileName(7), String("sfx/007.wav"));
    EXPECT_EQ(bb_Skitterbat_MyApp::SfxFileName(35), String("sfx/035.wav"));
    EXPECT_EQ(bb_Skitterbat_MyApp::SfxFileName(95), String("sfx/095.wav"));
    EXPECT_EQ(bb_Skitterbat_MyApp::SfxFileName(100), String("sfx/100.wav"));
    g.m_LoadSFX(100); // beyond the table: read, not kept
    g.m_LoadSFX(50);
    EXPECT_NE(g.Sounds[50], nullptr);
}

TEST(Loader, EffectsRotateOver24ChannelsUnlessSoundIsOff) {
    TestDataDir data;
    data.WriteWav("sfx/001.wav", 3.0); // long enough to still play during the test
    HarnessOptions options;
    options.dataDir = data.Path();
    GameHarness h(options);
    bb_Skitterbat_MyApp& g = h.game;
    gxtkAudio& audio = h.Audio();
    ASSERT_NE(g.Sounds[1], nullptr);
    ASSERT_EQ(g.Settings[5], 1);

    g.m_PlaySFX(1, 1.5f, 0.5f, -1);
    EXPECT_EQ(g.ChannelCursor, 1);
    EXPECT_EQ(audio.channels[1].state, 1);
    EXPECT_EQ(audio.channels[0].state, 0);
    EXPECT_FLOAT_EQ(SourceFloat(audio, 1, AL_PITCH), 1.5f);
    EXPECT_FLOAT_EQ(SourceFloat(audio, 1, AL_GAIN), 0.5f);
    float position[3] = {9, 9, 9};
    alGetSourcefv(audio.channels[1].source, AL_POSITION, position);
    EXPECT_EQ(position[0], -1);
    EXPECT_EQ(position[1], 0);

    for (int i = 2; i <= 23; ++i) g.m_PlaySFX(1, 1, 1, 0);
    EXPECT_EQ(g.ChannelCursor, 23);
    g.m_PlaySFX(1, 1, 1, 0); // the 24th
    EXPECT_EQ(g.ChannelCursor, 0);
    EXPECT_EQ(audio.channels[0].state, 1);
    g.m_PlaySFX(1, 0.8f, 1, 0); // the 25th takes channel 1 over
    EXPECT_EQ(g.ChannelCursor, 1);
    EXPECT_EQ(audio.channels[1].state, 1);
    EXPECT_FLOAT_EQ(SourceFloat(audio, 1, AL_PITCH), 0.8f);
    for (int c = 24; c < gxtkAudio::kChannelCount; ++c) EXPECT_EQ(audio.channels[c].state, 0) << c;

    // Sound off (anything but 1 or 2): nothing at all happens.
    for (int off : {0, 3, -1}) {
        g.Settings[5] = off;
        g.m_PlaySFX(1, 2, 1, 0);
        EXPECT_EQ(g.ChannelCursor, 1);
        EXPECT_EQ(audio.channels[2].state, 1);
        EXPECT_FLOAT_EQ(SourceFloat(audio, 2, AL_PITCH), 1.0f);
    }
    g.Settings[5] = 2;
    g.m_PlaySFX(1, 1.2f, 1, 0);
    EXPECT_EQ(g.ChannelCursor, 2);

    // A missing effect still stops its channel and sets rate, volume and pan.
    g.Settings[5] = 1;
    g.m_PlaySFX(50, 0.7f, 0.3f, 1);
    EXPECT_EQ(g.ChannelCursor, 3);
    EXPECT_EQ(audio.channels[3].state, 0);
    EXPECT_FLOAT_EQ(SourceFloat(audio, 3, AL_PITCH), 0.7f);
    EXPECT_FLOAT_EQ(SourceFloat(audio, 3, AL_GAIN), 0.3f);
}

TEST(Loader, ResizingRestartsLoadingInTheMenu) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    h.Render(); // same size: nothing restarts
    EXPECT_EQ(g.LoaderStage, 0);
    h.Resize(1280, 720);
    h.Render();
    EXPECT_EQ(g.LoaderStage, 1);
    EXPECT_EQ(g.DeviceW, 1280);
    EXPECT_EQ(g.DeviceH, 720);
    h.Update();
    EXPECT_EQ(g.Mode, ModeMenu);
    EXPECT_EQ(g.LoaderStage, 2);
    EXPECT_EQ(g.ImageScale, 4);
    h.FinishLoading();
    EXPECT_EQ(g.ImageSizes[3 * 1], 128);
    EXPECT_EQ(g.Mode, ModeMenu);
    EXPECT_EQ(g.Paused, 0);
}

// A game in progress follows the window: a size that keeps the art level
// (one pixel more, a wider window, a browser bar sliding away) refits it and
// plays on; one that needs another level (a fullscreen switch) reloads the
// art and keeps the game, paused.
TEST(Loader, ResizeKeepsTheGameInProgressAndPausesIt) {
    HarnessOptions options;
    options.width = 640;
    options.height = 640; // a 480x480 virtual screen
    GameHarness h(options);
    bb_Skitterbat_MyApp& g = h.game;
    h.StartGame(2);
    for (int i = 0; i < 900 && (g.RoundPhase != 10 || g.SegmentCount < 6 || g.Score == 0); ++i) {
        h.SteerAutopilot();
        h.Frames();
    }
    ASSERT_EQ(g.RoundPhase, 10);
    ASSERT_GT(g.Score, 0);
    g.PauseSelection = -1; // where a player who pressed left last left it

    struct Size {
        int width, height;
        float virtualW, virtualH;
        bool reloads;
    };
    for (const Size size : {Size{641, 640, 480.75f, 480, false}, Size{700, 640, 525, 480, false},
                            Size{1280, 720, 640, 360, true}}) {
        SCOPED_TRACE(size.width);
        const float oldW = bb_Skitterbat_jscrw;
        const std::vector<float> objects(g.Objects.begin(), g.Objects.end());
        const int score = g.Score, lives = g.Lives, round = g.Round, phase = g.RoundPhase;
        const int pedes = g.PedesToCome, oldPaddleY = g.PaddleY;
        const float paddleX = g.PaddleX;

        h.Resize(size.width, size.height);
        h.Render();
        ASSERT_EQ(bb_Skitterbat_jscrw, size.virtualW);
        ASSERT_EQ(bb_Skitterbat_jscrh, size.virtualH);
        EXPECT_EQ(g.LoaderStage, size.reloads ? 1 : 0);
        h.FinishLoading();
        EXPECT_EQ(g.Mode, ModePlaying);
        if (size.reloads) {
            EXPECT_EQ(g.Paused, 1);
            EXPECT_EQ(g.PauseSlide, 1);
            EXPECT_EQ(g.PauseSelection, 0);
            EXPECT_EQ(g.PauseSlideY, static_cast<int>(size.virtualH / 2));
        } else {
            EXPECT_EQ(g.Paused, 0);
        }
        EXPECT_EQ(g.Score, score);
        EXPECT_EQ(g.Lives, lives);
        EXPECT_EQ(g.Round, round);
        EXPECT_EQ(g.RoundPhase, phase);
        EXPECT_EQ(g.PedesToCome, pedes);
        EXPECT_EQ(g.GameEnded, 0);

        // The paddle keeps its place between the walls on its new line, and
        // every object keeps its kind, stays inside the walls and above the paddle.
        EXPECT_EQ(g.PaddleY, static_cast<int>(size.virtualH - 48));
        EXPECT_FLOAT_EQ(g.PaddleX, 16 + (paddleX - 16) * (size.virtualW - 32) / (oldW - 32));
        for (int r = 0; r < ObjectRecords; ++r) {
            const float* was = objects.data() + 10 * r;
            const float* now = g.Objects.Data() + 10 * r;
            ASSERT_EQ(now[ObjColour], was[ObjColour]) << r;
            if (was[ObjColour] == 0) continue;
            EXPECT_EQ(now[ObjKind], was[ObjKind]) << r;
            EXPECT_EQ(now[ObjDX], was[ObjDX]) << r;
            EXPECT_GE(now[ObjX], 16) << r;
            EXPECT_LE(now[ObjX], size.virtualW - 16) << r;
            if (now[ObjKind] == KindSegment) {
                EXPECT_LT(now[ObjY], static_cast<float>(g.PaddleY - 8)) << r;
            }
            EXPECT_FLOAT_EQ(now[ObjY],
                            was[ObjY] * static_cast<float>(g.PaddleY) / static_cast<float>(oldPaddleY))
                << r;
        }
    }

    // Resuming plays on where it stopped.
    h.PressKey(27);
    h.Update(12);
    EXPECT_EQ(g.Paused, 0);
    EXPECT_EQ(g.Mode, ModePlaying);
}

// Art of the level that fits the window is the file that gets loaded.
TEST(LoaderWindow, ArtLevelFollowsTheWindowSize) {
    TestDataDir data;
    data.WritePng("gfx.png", 512, 32, 0xff00ff00);
    data.WritePng("gfx-hd.png", 1024, 64, 0xff00ff00);
    data.WritePng("gfx-hd2.png", 2048, 128, 0xff00ff00);
    HarnessOptions options;
    options.window = true;
    options.dataDir = data.Path();
    options.width = 630;
    options.height = 630;
    GameHarness h(options);
    bb_Skitterbat_MyApp& g = h.game;

    const struct {
        int width, height, scale, fileWidth;
    } levels[] = {{630, 630, 1, 512}, {631, 400, 2, 1024}, {1231, 700, 4, 2048}, {640, 1231, 4, 2048}};
    for (const auto& level : levels) {
        SCOPED_TRACE(testing::Message() << level.width << "x" << level.height);
        if (g.DeviceW != level.width || g.DeviceH != level.height) {
            const bool anotherLevel = g.ImageScale != level.scale;
            h.Resize(level.width, level.height);
            h.Render();
            ASSERT_EQ(g.LoaderStage, anotherLevel ? 1 : 0);
            h.FinishLoading();
        }
        EXPECT_EQ(g.ImageScale, level.scale);
        ASSERT_NE(g.Images[1], nullptr);
        EXPECT_EQ(g.Images[1]->m_texSurface->Width(), level.fileWidth);
        EXPECT_EQ(g.Images[1]->m_frameWidth, 32 * level.scale);
        EXPECT_EQ(g.Images[2], nullptr); // no bg file at all
    }
}

// A step whose file is still on its way (a page fetching an art level) waits
// with the spinner turning, and loads the file once it has arrived.
TEST(LoaderWindow, StepWaitsForItsFileToArrive) {
    TestDataDir data;
    data.WritePng("gfx-hd.png", 1024, 64, 0xff00ff00);
    HarnessOptions options;
    options.window = true;
    options.dataDir = data.Path();
    options.finishLoading = false;
    GameHarness h(options);
    bb_Skitterbat_MyApp& g = h.game;
    h.platform.pendingData = {"gfx-hd.png"};
    while (g.LoaderStage > 0 && g.LoaderStage < 15) h.Update();
    ASSERT_EQ(g.LoaderStage, 15);

    const int spin = g.SpinAngle;
    h.Update(30);
    EXPECT_EQ(g.LoaderStage, 15);
    EXPECT_EQ(g.SpinAngle, spin + 30 * 16);
    EXPECT_EQ(g.DrawCount, 25 * 15);
    EXPECT_EQ(g.Images[1], nullptr);

    h.platform.pendingData.clear();
    h.Update();
    EXPECT_EQ(g.LoaderStage, 16);
    ASSERT_NE(g.Images[1], nullptr);
    EXPECT_EQ(g.Images[1]->m_texSurface->Width(), 1024);
}
