// The first-game note: it names the controls of the input last used (the
// keys actually bound), tells a finger kept down to lift and tap, goes once
// the ball is launched, stops after three games with a launch of the
// player's own (a count kept in the state file), and a watched replay
// neither shows it nor counts.
#include "game/hints/hints.h"
#include "game/options/options.h"
#include "game/replay/replays.h"
#include "meta_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

constexpr int KeySpace = 32, KeyN = 78, KeyM = 77;
constexpr int kIntroStart = 94; // updates of a new game before its round is announced

bool BallWaiting(const bb_Skitterbat_MyApp& g) {
    for (int r = 0; r < ObjectRecords; ++r)
        if (g.Objects[10 * r + ObjColour] > 0 && g.Objects[10 * r + ObjKind] == KindBallHeld) return true;
    return false;
}

// The note's lines lie on the screen, clear of the waiting ball and the paddle below them.
void ExpectNoteInPlace(const GameHarness& h, const std::string& controls, const std::string& pause) {
    const bb_Skitterbat_MyApp& g = h.game;
    int lines = 0;
    for (const TextRun& run : h.Texts()) {
        if (run.text != controls && run.text != pause) continue;
        ++lines;
        const float half = static_cast<float>(run.text.size()) * 7 * run.size / 2;
        const float centre = run.x + (static_cast<float>(run.text.size()) - 1) * 7 * run.size / 2;
        EXPECT_GE(centre - half, 0) << run.text;
        EXPECT_LE(centre + half, bb_Skitterbat_jscrw) << run.text;
        EXPECT_LE(run.y + 5 * run.size, static_cast<float>(g.PaddleY) - 24) << run.text;
        EXPECT_GE(run.size, 1.0f) << run.text;
    }
    EXPECT_EQ(lines, 2) << "wanted \"" << controls << "\" and \"" << pause << "\" in\n" << h.AllText();
}

// Runs a game to its launch phase, looks at the note in the round's
// announcement and launches by Space.
void PlayToLaunch(
    GameHarness& h, const std::function<void()>& announced = [] {}) {
    h.StartGame(1);
    h.Update(kIntroStart + 30);
    announced();
    while (h.game.RoundPhase != 10) h.Update();
    h.PressKey(KeySpace);
    h.Update(2);
}

void EndGame(GameHarness& h) {
    h.game.GameEnded = 1;
    while (h.game.Mode != ModeMenu) h.Update();
}

} // namespace

TEST(FirstHints, NameTheControlsOfTheInputLastUsed) {
    struct Case {
        const char* input;
        std::function<void(GameHarness&)> use;
        const char* controls;
        const char* pause;
    };
    const Case cases[] = {
        {"finger",
         [](GameHarness& h) {
             h.platform.fingerPointer = true;
             h.Tap(100, 200);
         },
         "Drag to steer, tap to launch", "Pause: top left button"},
        {"mouse",
         [](GameHarness& h) {
             h.MouseToGame(120, 200);
             h.Update();
         },
         "Move to steer, click to launch", "Pause: top left button"},
        {"keys, left and right bound to N and M",
         [](GameHarness& h) {
             options::Values values = options::Live().values;
             options::BindKey(&values.bindings, options::kLeft, 0, KeyN);
             options::BindKey(&values.bindings, options::kRight, 0, KeyM);
             options::Change(h.game, values);
             h.PressKey(KeyN, 3);
         },
         "N/M to steer, Space to launch", "Pause: Esc or top left button"},
        {"pad",
         [](GameHarness& h) {
             h.JoystickAxes({-1, 0});
             h.Update(3);
             h.JoystickAxes({0, 0});
         },
         "Stick to steer, A to launch", "Pause: Start or top left button"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        // The narrowest screen: a phone held upright.
        HarnessOptions options;
        options.width = 390;
        options.height = 844;
        GameHarness h(options);
        // The mouse was last used in the menu; the input of the case comes after it.
        h.MouseToGame(60, 60);
        h.Update();
        h.StartGame(1);
        h.Update(kIntroStart);
        c.use(h);
        h.Update(30);
        ASSERT_EQ(h.game.RoundPhase, 1);
        ExpectNoteInPlace(h, c.controls, c.pause);
    }
}

TEST(FirstHints, AFingerKeptDownIsToldToLiftAndTapThenTheNoteGoesWithTheLaunch) {
    GameHarness h;
    h.platform.fingerPointer = true;
    h.MouseToGame(320, 300);
    h.MouseButton(true); // the finger that chose the difficulty stays down
    h.StartGame(1);
    h.Update(kIntroStart + 20);
    ExpectNoteInPlace(h, "Drag to steer, tap to launch", "Pause: top left button");
    h.Update(120 - kIntroStart - 20 + 2); // two seconds and a little more since the finger went down
    ExpectNoteInPlace(h, "Lift, then tap to launch", "Pause: top left button");
    // Into the play phase: the ball still waits for the finger to lift.
    while (h.game.RoundPhase != 10) h.Update();
    h.Update(60);
    ASSERT_TRUE(BallWaiting(h.game));
    EXPECT_TRUE(h.HasText("Lift, then tap to launch"));

    h.MouseButton(false);
    h.Update();
    EXPECT_TRUE(h.HasText("Drag to steer, tap to launch"));
    h.MouseButton(true);
    h.Update();
    h.MouseButton(false);
    ASSERT_FALSE(BallWaiting(h.game));
    h.Update(30);
    EXPECT_FALSE(h.HasText("to launch")) << h.AllText();
    EXPECT_EQ(hints::LaunchedGames(h.game), 1);
}

TEST(FirstHints, StopAfterThreeGamesWithALaunchOfThePlayersOwnKeptInTheStateFile) {
    GameHarness h;
    // A game whose ball the launch timer sent teaches nothing: the next game has the note.
    h.StartGame(1);
    while (BallWaiting(h.game)) h.Update();
    EndGame(h);
    EXPECT_EQ(hints::LaunchedGames(h.game), 0);

    for (int game = 1; game <= hints::kGamesToLearn; ++game) {
        SCOPED_TRACE(game);
        PlayToLaunch(h, [&h] { EXPECT_TRUE(h.HasText("Pause:")); });
        EXPECT_EQ(hints::LaunchedGames(h.game), game);
        EndGame(h);
    }
    // A new start reads the count from the state file.
    h.game.Settings[hints::kLaunchedGamesSetting] = 0;
    LoadAndCapture(h.game);
    EXPECT_EQ(StateFields(ReadStateText(h))[hints::kLaunchedGamesSetting], "3");
    ASSERT_EQ(hints::LaunchedGames(h.game), 3);
    h.StartGame(1);
    for (int i = 0; i < 400; ++i) {
        h.Update();
        ASSERT_FALSE(h.HasText("Pause:")) << "update " << i;
    }
}

TEST(FirstHints, AWatchedReplayShowsNoNoteAndCountsNothing) {
    GameHarness h;
    PlayToLaunch(h);
    EndGame(h);
    ASSERT_EQ(hints::LaunchedGames(h.game), 1);
    ASSERT_TRUE(replays::RowHasReplay(h.game, true, 0));

    const int saves = h.platform.stateSaves;
    const std::string state = ReadStateText(h);
    replays::WatchRow(h.game, true, 0);
    for (int i = 0; i < 300; ++i) {
        h.Update();
        ASSERT_FALSE(h.HasText("Pause:")) << "update " << i;
    }
    EXPECT_TRUE(replays::Showing(h.game));
    EXPECT_EQ(hints::LaunchedGames(h.game), 1);
    EXPECT_EQ(h.platform.stateSaves, saves);
    EXPECT_EQ(ReadStateText(h), state);
}
