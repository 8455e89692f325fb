// The pause panel over a running game, driven through the whole update on the
// game harness: keys, taps, both layouts, the sound switch, tilt boxes, quitting,
// and the round waiting under the panel.
#include "harness.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

constexpr int KeyEnter = 13, KeyBack = 27, KeySpace = 32, KeyLeft = 37, KeyRight = 39, KeyDown = 40;

class PlayPauseTest : public testing::Test {
  protected:
    explicit PlayPauseTest(int width = 640, int height = 480) : h(Options(width, height)), g(h.game) {}

    static HarnessOptions Options(int width, int height) {
        HarnessOptions options;
        options.width = width;
        options.height = height;
        return options;
    }

    GameHarness h;
    bb_Skitterbat_MyApp& g;

    // A press or a tap, then one update with it released, as a player's would be.
    void Press(int key) {
        h.PressKey(key);
        h.Update();
    }
    void Tap(float x, float y) {
        h.Tap(x, y);
        h.Update();
    }

    // Opens the panel with the back key and lets it slide to rest.
    void OpenAndSettle() {
        h.PressKey(KeyBack);
        ASSERT_EQ(g.Paused, 1);
        h.Update(13);
        ASSERT_EQ(g.PauseSlideY, 248);
    }

    void PlayUntilPhase(int phase) {
        for (int i = 0; i < 1000 && g.RoundPhase != phase; ++i) h.Update();
        ASSERT_EQ(g.RoundPhase, phase);
    }

    int HeldBalls() const {
        int n = 0;
        for (int r = 0; r < ObjectRecords; ++r) {
            if (g.Objects[10 * r + ObjColour] > 0 && g.Objects[10 * r + ObjKind] == 18.0f) ++n;
        }
        return n;
    }

    bool FocusRingAt(float x, float y) const {
        for (const DrawRecord& r : h.RecordsOfImage(97)) {
            if (r.frame == 6 && r.x == x && r.y == y) return true;
        }
        return false;
    }

    bool RectAt(float x, float y, float w, float height) const {
        for (const DrawRecord& r : h.Records()) {
            if (r.IsRect() && r.x == x && r.y == y && r.w == w && r.h == height) return true;
        }
        return false;
    }
};

TEST_F(PlayPauseTest, BackKeyOpensAndClosesThePanelOncePerPress) {
    h.StartGame(2);
    h.Update(5);
    h.PressKey(KeyBack);
    EXPECT_EQ(g.Paused, 1);
    EXPECT_EQ(g.PauseSlide, 1);
    EXPECT_EQ(g.PauseSelection, 0);
    EXPECT_EQ(g.PauseSlideY, -40);
    h.Update(12);
    EXPECT_EQ(g.PauseSlideY, 248) << "slides 24 a frame until the middle of the screen";
    EXPECT_TRUE(RectAt(180, 196, 280, 104)) << "the landscape panel";
    EXPECT_TRUE(FocusRingAt(320, 248)) << "focus starts on Resume";

    // Held back key: closes once, and stays closed until it is released.
    h.KeyDown(KeyBack);
    h.Update();
    EXPECT_EQ(g.PauseSlide, -1);
    h.Update(11);
    EXPECT_EQ(g.Paused, 1);
    h.Update();
    EXPECT_EQ(g.Paused, 0);
    EXPECT_EQ(g.PauseSlideY, -40);
    h.Update(30);
    EXPECT_EQ(g.Paused, 0) << "a back key held on does not open it again";
    h.KeyUp(KeyBack);
    h.Update();
    h.PressKey(KeyBack);
    EXPECT_EQ(g.Paused, 1) << "a new press does";
}

TEST_F(PlayPauseTest, KeysMoveTheFocusToggleSoundAndResume) {
    h.StartGame(2);
    OpenAndSettle();
    Press(KeyLeft);
    EXPECT_EQ(g.PauseSelection, -1);
    h.Update();
    EXPECT_TRUE(FocusRingAt(180, 184));
    EXPECT_FALSE(FocusRingAt(320, 248));
    Press(KeyLeft);
    EXPECT_EQ(g.PauseSelection, -1) << "nothing left of Quit";
    Press(KeyRight);
    EXPECT_EQ(g.PauseSelection, 0);
    Press(KeyRight);
    EXPECT_EQ(g.PauseSelection, 1);
    h.Update();
    EXPECT_TRUE(FocusRingAt(460, 184));

    const int sound = g.Settings[5];
    Press(KeySpace);
    EXPECT_EQ(g.Settings[5], 1 - sound);
    Press(KeySpace);
    EXPECT_EQ(g.Settings[5], sound);
    g.Settings[5] = 2;
    Press(KeySpace);
    EXPECT_EQ(g.Settings[5], 0) << "only ever 0 or 1";

    // A key held across updates acts once.
    h.KeyDown(KeyDown);
    h.Update(5);
    h.KeyUp(KeyDown);
    h.Update();
    EXPECT_EQ(g.PauseSelection, 0);
    Press(KeySpace);
    EXPECT_EQ(g.PauseSlide, -1);
    EXPECT_EQ(g.Paused, 1) << "until the panel has slid out";
    h.Update(10);
    EXPECT_EQ(g.Paused, 1);
    h.Update();
    EXPECT_EQ(g.Paused, 0);
    EXPECT_EQ(g.GameEnded, 0);
}

TEST_F(PlayPauseTest, QuitEndsTheGameAndReturnsToTheMenu) {
    h.StartGame(2);
    h.Update(40);
    OpenAndSettle();
    Press(KeyLeft);
    Press(KeySpace);
    EXPECT_EQ(g.GameEnded, 1);
    EXPECT_EQ(g.Paused, 0);
    EXPECT_EQ(g.PauseSlideY, -64) << "closed at once, no slide";
    for (int i = 0; i < 200 && g.Mode != ModeMenu; ++i) h.Update();
    EXPECT_EQ(g.Mode, ModeMenu);
}

TEST_F(PlayPauseTest, ResumeAfterASuspendPutsTheFocusOnResume) {
    h.StartGame(2);
    h.Update(40);
    OpenAndSettle();
    Press(KeyLeft);
    ASSERT_EQ(g.PauseSelection, -1);
    h.Suspend();
    h.Resume();
    EXPECT_EQ(g.Paused, 1);
    EXPECT_EQ(g.PauseSelection, 0);
    Press(KeyEnter);
    EXPECT_EQ(g.GameEnded, 0);
    EXPECT_EQ(g.PauseSlide, -1) << "Enter resumes";
}

TEST_F(PlayPauseTest, PauseOpenedAsTheGameEndsIsClosedByTheNextGame) {
    h.StartGame(2);
    h.Update(40);
    g.GameEnded = 1;
    h.Update(10);
    Press(KeyBack);
    ASSERT_EQ(g.Paused, 1);
    for (int i = 0; i < 200 && g.Mode != ModeMenu; ++i) h.Update();
    ASSERT_EQ(g.Mode, ModeMenu);
    h.StartGame(2);
    EXPECT_EQ(g.Paused, 0);
    EXPECT_EQ(g.PauseSlide, -1);
    EXPECT_EQ(g.PauseSlideY, -64);
    PlayUntilPhase(10);
    h.Update();
    Press(KeySpace);
    EXPECT_EQ(HeldBalls(), 0) << "play runs: the select key launches";
}

TEST_F(PlayPauseTest, TapsWorkThePanelButtonsAndTiltBoxes) {
    h.StartGame(2);
    h.Update(3);
    Tap(16, 16);
    EXPECT_EQ(g.Paused, 1);
    EXPECT_EQ(g.PauseSelection, 0);
    h.Update(13);

    const int sound = g.Settings[5];
    Tap(460, 184);
    EXPECT_EQ(g.Settings[5], 1 - sound);
    Tap(460, 184);
    EXPECT_EQ(g.Settings[5], sound);

    // Held on the button: one toggle per press.
    h.MouseToGame(460, 184);
    h.MouseButton(true);
    h.Update(4);
    h.MouseButton(false);
    h.Update();
    EXPECT_EQ(g.Settings[5], 1 - sound);

    Tap(3 * 32 + 15, 480 - 64 + 15);
    EXPECT_EQ(g.TiltSensitivity, 2.0f);
    EXPECT_EQ(g.Settings[2], 2);
    h.Update();
    int lit = 0;
    for (const DrawRecord& r : h.Records()) {
        if (r.IsRect() && r.y == 416 && r.w == 30 && r.green == 255) ++lit;
    }
    EXPECT_EQ(lit, 2) << "boxes up to the sensitivity are lit";

    Tap(320, 248);
    EXPECT_EQ(g.PauseSlide, -1);
    h.Update(12);
    EXPECT_EQ(g.Paused, 0);

    Tap(16, 16);
    h.Update(13);
    Tap(180, 184);
    EXPECT_EQ(g.GameEnded, 1);
    EXPECT_EQ(g.Paused, 0);
}

TEST_F(PlayPauseTest, PausedPlayLeavesHeldBallsAndThePaddleAlone) {
    h.StartGame(2);
    PlayUntilPhase(10);
    h.Update();
    ASSERT_EQ(HeldBalls(), 1);
    const float target = g.PaddleTargetX;

    // A tap on Resume resumes: it neither launches the ball nor steers the paddle.
    OpenAndSettle();
    Tap(320, 248);
    EXPECT_EQ(g.PauseSlide, -1);
    EXPECT_EQ(HeldBalls(), 1);
    EXPECT_EQ(g.PaddleTargetX, target);
    h.Update(12);
    EXPECT_EQ(g.Paused, 0);

    // Nor does the select key.
    OpenAndSettle();
    Press(KeySpace);
    EXPECT_EQ(g.PauseSlide, -1);
    EXPECT_EQ(HeldBalls(), 1);
    h.Update(12);

    // Out of the pause, the same key launches.
    Press(KeySpace);
    EXPECT_EQ(HeldBalls(), 0);

    // A flying ball stays put while the panel is open.
    OpenAndSettle();
    float before[2000];
    for (int i = 0; i < 2000; ++i) before[i] = g.Objects[i];
    h.Update(10);
    int flyers = 0;
    for (int r = 0; r < ObjectRecords; ++r) {
        const float kind = g.Objects[10 * r + ObjKind];
        if (!(g.Objects[10 * r + ObjColour] > 0)) continue;
        if (kind == 17.0f || (kind >= 1.0f && kind <= 4.0f)) {
            ++flyers;
            EXPECT_EQ(g.Objects[10 * r + ObjY], before[10 * r + ObjY]) << "record " << r;
        }
        // Segments stand still too (one frozen past a wall would still drop).
        if (kind == 17.0f || kind <= 4.0f) {
            EXPECT_EQ(g.Objects[10 * r + ObjX], before[10 * r + ObjX]) << "record " << r;
        }
    }
    EXPECT_GE(flyers, 1);
}

TEST_F(PlayPauseTest, PausedRoundWaitsWhileThePanelsFocusMoves) {
    const auto roundState = [this] {
        int mushrooms = 0;
        for (int r = 0; r < ObjectRecords; ++r) {
            const float kind = g.Objects[10 * r + ObjKind];
            if (g.Objects[10 * r + ObjColour] > 0 && kind >= 5.0f && kind <= 8.0f) ++mushrooms;
        }
        return std::map<std::string, float>{
            {"PaddleX", g.PaddleX},
            {"PaddleTargetX", g.PaddleTargetX},
            {"PaddleSpeed", g.PaddleSpeed},
            {"steering by keys", static_cast<float>(bb_Skitterbat_keys)},
            {"RoundPhase", static_cast<float>(g.RoundPhase)},
            {"PhaseTimer", static_cast<float>(g.PhaseTimer)},
            {"PedeReleaseTimer", static_cast<float>(g.PedeReleaseTimer)},
            {"PedesToCome", static_cast<float>(g.PedesToCome)},
            {"LaunchTimer", static_cast<float>(g.LaunchTimer)},
            {"mushrooms", static_cast<float>(mushrooms)},
            {"held balls", static_cast<float>(HeldBalls())},
        };
    };
    // Paused while mushrooms are being planted, and in the fight with a ball
    // held and a centipede still to come.
    for (const bool fighting : {false, true}) {
        SCOPED_TRACE(fighting ? "fighting" : "planting");
        h.StartGame(2);
        if (fighting) {
            PlayUntilPhase(10);
            // The first centipede comes down from the top, so the release timer runs.
            for (int r = 0; r < ObjectRecords; ++r) {
                if (g.Objects[10 * r + ObjColour] > 0 && g.Objects[10 * r + ObjKind] == 0.0f)
                    g.Objects[10 * r + ObjY] += 64;
            }
        }
        // Steered by keys, which a pointer moving over the panel must not take over.
        h.PressKey(KeyLeft, 5);
        h.Update(35);
        ASSERT_EQ(bb_Skitterbat_keys, 1);
        ASSERT_EQ(g.RoundPhase, fighting ? 10 : 0);
        if (fighting) {
            ASSERT_LT(g.PedeReleaseTimer, 250);
        }

        h.PressKey(KeyBack);
        const std::map<std::string, float> before = roundState();
        h.Update();
        h.KeyDown(KeyRight);
        h.Update(60);
        h.KeyUp(KeyRight);
        h.MouseToGame(320, 300);
        h.Update(700); // longer than a held ball waits to launch by itself
        EXPECT_EQ(g.PauseSelection, 1) << "the panel's focus moved";
        EXPECT_EQ(roundState(), before);
    }
}

class PlayPausePortraitTest : public PlayPauseTest {
  protected:
    PlayPausePortraitTest() : PlayPauseTest(320, 480) {}
};

TEST_F(PlayPausePortraitTest, PortraitPanelIsTallerWithTheButtonsAbove) {
    h.StartGame(2);
    ASSERT_EQ(g.Landscape, 0);
    ASSERT_EQ(bb_Skitterbat_jscrw, 320.0f);
    EXPECT_EQ(g.PaddleY, 400);
    OpenAndSettle();
    EXPECT_TRUE(RectAt(32, 168, 256, 160));
    EXPECT_TRUE(RectAt(64, 156, 192, 8));
    Press(KeyLeft);
    h.Update();
    EXPECT_TRUE(FocusRingAt(64, 152));
    Press(KeyRight);
    Press(KeyRight);
    h.Update();
    EXPECT_TRUE(FocusRingAt(256, 152));
    Tap(64, 152);
    EXPECT_EQ(g.GameEnded, 1);
}

} // namespace
