// Start-up, the input sampling and latches of each update, the mode machine's
// fixed parts, and suspend and resume.
#include "harness.h"

#include "host/bb_app.h"

#include <gtest/gtest.h>

TEST(Flow, StartUpState) {
    HarnessOptions options;
    options.finishLoading = false;
    GameHarness h(options);
    bb_Skitterbat_MyApp& g = h.game;
    EXPECT_EQ(g.Mode, ModeMenu);
    EXPECT_EQ(h.Device().updatesPerSecond, 60);
    EXPECT_EQ(g.DeviceW, 640);
    EXPECT_EQ(g.DeviceH, 480);
    EXPECT_EQ(g.LoaderStage, 1);
    EXPECT_EQ(g.Difficulty, 2);
    EXPECT_EQ(g.MenuSlide, -32);
    EXPECT_EQ(g.MenuValue50, 50);
    EXPECT_EQ(g.Paused, 0);
    EXPECT_EQ(g.PauseSlide, -1);
    EXPECT_EQ(g.PauseSlideY, -64);
    EXPECT_EQ(g.Settings[5], 1);
    for (int i = 0; i < 33; ++i) EXPECT_EQ(g.Channels[i], i);
    EXPECT_EQ(g.DrawList.Length(), 37500);
    EXPECT_EQ(g.Objects.Length(), 2000);
    EXPECT_EQ(g.Parts.Length(), 1000);
    EXPECT_EQ(g.Badges.Length(), 256);
    EXPECT_EQ(bb_Skitterbat_rawscrw, 640);
    EXPECT_EQ(bb_Skitterbat_rawscrh, 480);
}

TEST(Flow, PointerAndTouchSampling) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    g.Mode = 0; // no screen: only the sampling runs

    h.Update();
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(g.TouchDownArr[i], 0);
        EXPECT_EQ(g.TouchXArr[i], -3717);
        EXPECT_EQ(g.TouchYArr[i], -3717);
    }
    EXPECT_EQ(g.PointerDown, 0);

    h.MouseTo(100, 50);
    h.Update();
    h.MouseTo(300, 200);
    h.Update();
    EXPECT_EQ(g.PrevMouseX, 100); // moving without a press keeps the previous position
    EXPECT_EQ(g.MouseX, 300);

    // A fresh press makes no jump: the previous position is the new one.
    h.MouseTo(400, 220);
    h.MouseButton(true);
    h.Update();
    EXPECT_EQ(g.PrevMouseX, 400);
    EXPECT_EQ(g.PrevMouseY, 220);
    EXPECT_EQ(g.PointerDown, 1);
    EXPECT_EQ(g.PointerHit, 1);
    EXPECT_EQ(g.MouseDown, 1);
    EXPECT_EQ(g.TouchDownArr[0], 1);
    EXPECT_EQ(g.TouchXArr[0], 400);
    EXPECT_EQ(g.TouchYArr[0], 220);
    EXPECT_EQ(g.TouchXArr[1], -3717);
    h.MouseTo(410, 225);
    h.Update();
    EXPECT_EQ(g.PrevMouseX, 400);
    EXPECT_EQ(g.MouseX, 410);
    EXPECT_EQ(g.PointerHit, 0);

    // NeedRelease holds until every pointer is up.
    g.NeedRelease = 1;
    h.Update();
    EXPECT_EQ(g.NeedRelease, 1);
    h.MouseButton(false);
    h.Update();
    EXPECT_EQ(g.NeedRelease, 0);
    EXPECT_EQ(g.TouchXArr[0], -3717);
}

TEST(Flow, BackKeyClosesAnOpenBoxOncePerPress) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    g.CreditsOpen = 1;
    h.KeyDown(27);
    h.Update();
    EXPECT_EQ(g.CreditsOpen, 0);
    EXPECT_EQ(g.ButtonLock, 1);

    // Still held: a box opened again stays open.
    g.BadgesOpen = 1;
    h.Update(3);
    EXPECT_EQ(g.BadgesOpen, 1);
    EXPECT_EQ(g.ButtonLock, 1);
    h.KeyUp(27);
    h.Update();
    EXPECT_EQ(g.ButtonLock, 0);
    h.KeyDown(27);
    h.Update();
    EXPECT_EQ(g.BadgesOpen, 0);
    h.KeyUp(27);
    h.Update();

    // Any held play key keeps the lock; a held pointer's latch blocks the back key.
    g.BadgesOpen = 1;
    g.ButtonLock = 1;
    h.KeyDown(38);
    h.KeyDown(27);
    h.Update();
    EXPECT_EQ(g.BadgesOpen, 1);
    h.KeyUp(38);
    h.KeyUp(27);
    h.Update();
    g.BadgesOpen = 1;
    h.MouseTo(300, 300); // a press on the gallery, still held
    h.MouseButton(true);
    h.Update();
    ASSERT_EQ(g.NeedRelease, 1);
    h.KeyDown(27);
    h.Update();
    EXPECT_EQ(g.BadgesOpen, 1);
    h.KeyUp(27);
    h.MouseButton(false);

    // Outside the menu the back key leaves the boxes alone.
    h.Update();
    g.Mode = 0;
    g.CreditsOpen = 1;
    h.KeyDown(27);
    h.Update();
    EXPECT_EQ(g.CreditsOpen, 1);
}

TEST(Flow, ReturnToMenuModeBecomesTheMenu) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    g.Mode = ModeReturnToMenu;
    h.Update();
    EXPECT_EQ(g.Mode, ModeMenu);
}

TEST(Flow, SuspendPausesOnlyAGameInProgress) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    bb_app_AppDevice& device = h.Device();

    // In the menu: not paused; the rate drops to 5 and comes back to 60.
    g.Paused = 1;
    g.m_iCade(1);
    g.KeyArray[3] = 2;
    g.m_OnSuspend();
    EXPECT_EQ(device.updatesPerSecond, 5);
    EXPECT_EQ(g.Paused, 0);
    EXPECT_EQ(g.PauseSlide, 0);
    EXPECT_EQ(g.PauseSlideY, 0);
    EXPECT_EQ(bb_Skitterbat_iCadeControls, 0);
    EXPECT_EQ(g.KeyArray[3], 0);
    g.m_OnResume();
    EXPECT_EQ(device.updatesPerSecond, 60);
    EXPECT_EQ(g.Paused, 0);

    // During play (modes 10 and 11), through the host as on iconify and restore.
    for (int mode : {ModePlaying, ModeStartGame}) {
        g.Mode = mode;
        g.Paused = 0;
        h.Suspend();
        EXPECT_TRUE(device.isSuspended);
        EXPECT_EQ(device.updatesPerSecond, 5);
        EXPECT_EQ(g.Paused, 1);
        EXPECT_EQ(g.PauseSlide, 1);
        EXPECT_EQ(g.PauseSlideY, 240);
        g.PauseSlideY = 0;
        h.Resume();
        EXPECT_FALSE(device.isSuspended);
        EXPECT_EQ(device.updatesPerSecond, 60);
        EXPECT_EQ(g.Paused, 1);
        EXPECT_EQ(g.PauseSlideY, 240);
    }
    // Half the virtual height, truncated.
    g.Mode = ModePlaying;
    h.Resize(1280, 721);
    h.Render();
    g.m_OnSuspend();
    EXPECT_EQ(g.PauseSlideY, 180);
}

TEST(Flow, SuspendDuringTheGameOverBuildUpOpensNoPanel) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    h.StartGame(2);
    for (int i = 0; i < 1000 && g.RoundPhase != 10; ++i) h.Update();
    // The last ball is lost.
    g.Lives = 0;
    for (int r = 0; r < ObjectRecords; ++r) {
        if (g.Objects[10 * r + ObjKind] >= 17.0f) g.Objects[10 * r + ObjColour] = 0.0f;
    }
    h.Update(10);
    ASSERT_EQ(g.GameEnded, 1);
    ASSERT_EQ(g.Mode, ModePlaying);
    h.Suspend();
    EXPECT_EQ(g.Paused, 0);
    h.Resume();
    EXPECT_EQ(g.Paused, 0);
    for (int i = 0; i < 200 && g.Mode != ModeMenu; ++i) h.Update();
    EXPECT_EQ(g.Mode, ModeMenu) << "the build-up plays out";
}
