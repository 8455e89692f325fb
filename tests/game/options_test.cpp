// The player's options: the key map with its swaps, spares and the iCade,
// the Options screen by keys and pointer, game speed in the real loop,
// reduced motion, keys without holding, and the sound device's gain.
#include "game/options/key_map.h"
#include "game/options/options.h"
#include "game/options/options_screen.h"
#include "harness.h"
#include "input/gxtk_input.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int KeyBack = 27, KeyEnter = 13, KeyLeft = 37, KeyUp = 38, KeyRight = 39, KeyDown = 40;
constexpr int KeyN = 78;
const int kPlayKeys[] = {0, 3, 5, 8, 10, 11, 12, 13, 99};

// The one play key a key code holds, -1 for none, -2 for more than one.
int PlayKeyOf(GameHarness& h, int code) {
    h.KeyDown(code);
    int held = -1;
    for (int key : kPlayKeys)
        if (h.game.m_PlayKey(key)) held = held == -1 ? key : -2;
    h.KeyUp(code);
    return held;
}

void Bind(GameHarness& h, const std::function<void(options::KeyBindings&)>& change) {
    options::Values values = options::Live().values;
    change(values.bindings);
    options::Change(h.game, values);
}

void SetOption(GameHarness& h, const std::function<void(options::Values&)>& change) {
    options::Values values = options::Live().values;
    change(values);
    options::Change(h.game, values);
}

// Presses a key for an update, then lets every key go for an update.
void Press(GameHarness& h, int key) {
    h.PressKey(key);
    h.Frames();
}

} // namespace

// Each step changes the map as a player would on the Options screen; the
// codes then hold exactly the play keys listed.
TEST(KeyMap, BindingsSwapTakeSparesFollowTheICadeAndComeBackAsDefaults) {
    GameHarness h;
    h.game.Mode = 0;
    using options::KeyBindings;
    struct Step {
        const char* what;
        std::function<void(KeyBindings&)> change;
        bool iCade;
        std::vector<std::pair<int, int>> holds; // key code, play key
    };
    const Step steps[] = {
        {"the defaults",
         [](KeyBindings&) {},
         false,
         {{KeyUp, 0}, {87, 0},  {265, 0},      {KeyDown, 8},  {83, 8},  {267, 8},  {KeyLeft, 3},
          {65, 3},    {264, 3}, {KeyRight, 5}, {68, 5},       {266, 5}, {32, 10},  {KeyEnter, 10},
          {256, 10},  {90, 10}, {74, 10},      {KeyBack, 99}, {8, 99},  {263, 99}, {46, 99},
          {17, 11},   {88, 11}, {257, 11},     {86, 13},      {259, 13}}},
        {"Left takes D: Right gets the Left arrow",
         [](KeyBindings& b) { BindKey(&b, options::kLeft, 0, 68); },
         false,
         {{68, 3}, {KeyLeft, 5}, {65, 3}, {KeyRight, 5}}},
        {"Up takes X from the further fire button",
         [](KeyBindings& b) { BindKey(&b, options::kUp, 1, 88); },
         false,
         {{88, 0}, {87, -1}, {17, 11}, {75, 11}}},
        {"a key of the same action: the slots swap",
         [](KeyBindings& b) { BindKey(&b, options::kBack, 0, 8); },
         false,
         {{8, 99}, {KeyBack, 99}}},
        {"pads: Down takes Up's button, Back a spare one",
         [](KeyBindings& b) {
             BindPad(&b, options::kDown, 9);
             BindPad(&b, options::kBack, 1);
         },
         false,
         {{265, 8}, {267, 0}, {257, 99}, {263, -1}}},
        {"Launch on N; the iCade takes the letters",
         [](KeyBindings& b) { BindKey(&b, options::kLaunch, 1, KeyN); },
         true,
         {{KeyN, -1}, {68, -1}, {88, -1}, {KeyLeft, 5}, {32, 10}, {KeyEnter, -1}, {265, 8}}},
        {"Defaults",
         [](KeyBindings& b) { b = options::DefaultBindings(); },
         false,
         {{KeyLeft, 3}, {68, 5}, {88, 11}, {87, 0}, {KeyN, -1}, {KeyEnter, 10}, {263, 99}, {267, 8}}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        Bind(h, step.change);
        h.game.m_iCade(step.iCade ? 1 : 0);
        for (const auto& [code, playKey] : step.holds) {
            if (code >= options::kPadKey0) {
                std::vector<unsigned char> buttons(32, 0);
                buttons[static_cast<size_t>(code - options::kPadKey0)] = 1;
                h.JoystickButtons(buttons);
                h.Update();
                int held = -1;
                for (int key : kPlayKeys)
                    if (h.game.m_PlayKey(key)) held = held == -1 ? key : -2;
                EXPECT_EQ(held, playKey) << "pad button " << code - options::kPadKey0;
                h.JoystickButtons({});
                h.Update();
            } else {
                EXPECT_EQ(PlayKeyOf(h, code), playKey) << "key " << code;
            }
        }
        // What the settings keep reads back as the same map.
        const options::Values read = options::ReadValues(h.game.Settings);
        for (int a = 0; a < options::kActionCount; ++a)
            EXPECT_TRUE(read.bindings.actions[a] == options::Live().values.bindings.actions[a]) << a;
    }
    for (int a = 13; a <= 18; ++a) EXPECT_EQ(h.game.Settings[a], 0) << "defaults keep the old file's zeros";
}

// Everything by keys: Back on the menu opens the screen, every option takes
// a new value at once and is saved with it, a key is bound by pressing it.
TEST(OptionsScreen, KeysChangeEveryOptionAtOnceAndBindAKey) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    h.Frames(40);
    Press(h, KeyBack);
    ASSERT_TRUE(options::ScreenOpen());
    EXPECT_TRUE(h.HasText("Options"));
    EXPECT_TRUE(h.HasText("100 %"));

    int saves = h.platform.stateSaves;
    auto wasSaved = [&] {
        const bool more = h.platform.stateSaves > saves;
        saves = h.platform.stateSaves;
        return more;
    };
    Press(h, KeyLeft); // game speed 90 %
    EXPECT_EQ(g.Settings[options::kSpeedSetting], 1);
    EXPECT_EQ(options::UpdateRate(), 54);
    EXPECT_EQ(h.Device().updatesPerSecond, 54);
    EXPECT_TRUE(wasSaved());

    Press(h, KeyDown);
    Press(h, KeyLeft);
    Press(h, KeyLeft); // volume 80 %
    ALfloat gain = 0;
    alGetListenerf(AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 0.8f);
    Press(h, KeyDown);
    Press(h, KeyEnter); // pod marks off
    Press(h, KeyDown);
    Press(h, KeyEnter); // reduced motion on
    Press(h, KeyDown);
    Press(h, KeyRight); // keys without holding on
    EXPECT_EQ(g.Settings[options::kVolumeSetting], 2);
    EXPECT_EQ(g.Settings[options::kMarksSetting], 1);
    EXPECT_EQ(g.Settings[options::kMotionSetting], options::kMotionReduced);
    EXPECT_EQ(g.Settings[options::kHoldSetting], 1);
    EXPECT_FALSE(options::PodMarks());
    EXPECT_TRUE(options::ReducedMotion());

    // Down to Left's first key; Enter waits for a key; N binds it.
    for (int i = 0; i < 3; ++i) Press(h, KeyDown);
    wasSaved();
    h.KeyDown(KeyEnter);
    h.Frames(3); // held: no key is taken while the choosing press lasts
    h.KeyUp(KeyEnter);
    h.Frames(2);
    EXPECT_TRUE(h.HasText("Press a key for Left"));
    Press(h, KeyN);
    EXPECT_EQ(options::Live().values.bindings.actions[options::kLeft].keys[0], KeyN);
    EXPECT_TRUE(wasSaved());
    EXPECT_EQ(PlayKeyOf(h, KeyN), 3);
    h.Frames(2); // the next update sees that press too, and acts on it
    // The pad cell takes a pad button; a key gives the wait up.
    Press(h, KeyRight);
    Press(h, KeyRight);
    Press(h, KeyEnter);
    EXPECT_TRUE(h.HasText("Press a pad button for Left"));
    Press(h, KeyBack);
    EXPECT_EQ(options::Live().values.bindings.actions[options::kLeft].pad, 8);
    EXPECT_TRUE(options::ScreenOpen());

    Press(h, KeyBack);
    EXPECT_FALSE(options::ScreenOpen());
    EXPECT_EQ(g.Mode, ModeMenu);
}

// From the pause panel, by pointer: its gear opens the screen over the
// paused round, a tap changes a value, Done goes back to the panel.
TEST(OptionsScreen, ThePausePanelsGearAndTheFinger) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    h.StartGame(2);
    h.Frames(200);
    Press(h, KeyBack);
    h.Frames(20);
    ASSERT_EQ(g.Paused, 1);
    // Down from Resume reaches the gear; Enter opens the screen.
    Press(h, KeyDown);
    EXPECT_EQ(g.PauseSelection, options::kPauseOptionsItem);
    Press(h, KeyEnter);
    ASSERT_TRUE(options::ScreenOpen());

    auto textAt = [&](const std::string& text) {
        for (const TextRun& run : h.Texts())
            if (run.text == text) return run;
        ADD_FAILURE() << "no \"" << text << "\"";
        return TextRun();
    };
    const TextRun more = textAt(">");
    h.Tap(more.x, more.y); // the first ">": game speed, already the most
    h.Frames();
    EXPECT_EQ(g.Settings[options::kSpeedSetting], 0);
    const TextRun less = textAt("<");
    h.Tap(less.x, less.y);
    h.Frames();
    EXPECT_EQ(g.Settings[options::kSpeedSetting], 1);
    EXPECT_EQ(g.Paused, 1);
    const TextRun done = textAt("Done");
    h.Tap(done.x, done.y);
    h.Frames(2);
    EXPECT_FALSE(options::ScreenOpen());
    EXPECT_EQ(g.Paused, 1);
    EXPECT_EQ(g.PauseSelection, options::kPauseOptionsItem);
}

// The real loop on a scripted clock: five seconds of wall time hold as many
// updates as the speed asks.
TEST(GameSpeed, UpdatesPerSecondOfWallTimeFollowTheSpeed) {
    class Counting : public HeadlessPlatform {
      public:
        int updates = 0;
        // The input device asks for the mouse once an update.
        void MousePosition(int* x, int* y) override {
            ++updates;
            HeadlessPlatform::MousePosition(x, y);
        }
    };
    for (int speed : {100, 80, 50}) {
        SCOPED_TRACE(speed);
        HarnessOptions windowed;
        windowed.window = true;
        GameHarness h(windowed);
        SetOption(h, [speed](options::Values& v) { v.speedPercent = speed; });
        Counting counting;
        counting.now = 100;
        gxtkPlatform* harnessPlatform = gxtk_platform;
        gxtk_platform = &counting;
        h.Device().SetUpdateRate(options::UpdateRate());
        while (counting.now < 105) {
            double sleep = 0;
            if (h.Device().RunPass(&sleep) == gxtkApp::LoopWait::Sleep) counting.Sleep(std::max(sleep, 1e-6));
        }
        gxtk_platform = harnessPlatform;
        EXPECT_NEAR(counting.updates, 5 * 60 * speed / 100, 2);
    }
}

// Two frames of the backdrop a second apart: the same under reduced motion,
// turned without it; and bursts of one particle.
TEST(ReducedMotion, TheBackdropStandsStillAndBurstsThrowOneParticle) {
    for (bool reduced : {false, true}) {
        SCOPED_TRACE(reduced);
        GameHarness h;
        SetOption(h, [reduced](options::Values& v) {
            v.motion = reduced ? options::kMotionReduced : options::kMotionFull;
        });
        h.StartGame(2);
        h.Frames(5);
        const std::vector<DrawRecord> first = h.RecordsOfImage(2);
        h.Frames(60);
        const std::vector<DrawRecord> second = h.RecordsOfImage(2);
        ASSERT_EQ(first.size(), 2u);
        ASSERT_EQ(second.size(), 2u);
        for (size_t i = 0; i < 2; ++i) EXPECT_EQ(first[i].rot == second[i].rot, reduced) << i;

        // A mushroom struck by a ball.
        bb_Skitterbat_MyApp& g = h.game;
        for (float& f : g.Parts) f = 0;
        const int shroom = g.FreeObjectSlot() * 10;
        g.m_AddShroom(300, 200);
        const int ball = g.FreeObjectSlot() * 10;
        g.m_AddBall();
        g.Objects[ball + ObjKind] = KindBallFlying;
        g.Objects[ball + ObjX] = g.Objects[shroom + ObjX];
        g.Objects[ball + ObjY] = g.Objects[shroom + ObjY] + 4;
        g.StrikeMushrooms(ball);
        int alive = 0;
        for (int p = 0; p < ParticleRecords; ++p) alive += g.Parts[10 * p + PartLife] > 0 ? 1 : 0;
        EXPECT_EQ(alive, reduced ? 1 : 3);
    }
}

// A tap of right runs the paddle to the wall, where it stops; a tap sets it
// going, the next stops it where it is.
TEST(KeysWithoutHolding, ATapRunsThePaddleToTheWallAndTheNextStopsIt) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    SetOption(h, [](options::Values& v) { v.keysWithoutHolding = true; });
    h.StartGame(2);
    h.Frames(5);
    const float wall = bb_Skitterbat_jscrw - 16;
    h.PressKey(KeyRight);
    h.Frames(120);
    EXPECT_EQ(g.PaddleX, wall);
    EXPECT_EQ(options::Steer().direction, 0);
    h.Frames(10);
    EXPECT_EQ(g.PaddleX, wall);

    h.PressKey(KeyLeft);
    h.Frames(10);
    EXPECT_LT(g.PaddleX, wall);
    h.PressKey(KeyRight); // either key stops it
    h.Frames(10);
    const float stopped = g.PaddleX;
    h.Frames(60);
    EXPECT_EQ(g.PaddleX, stopped);
    EXPECT_GT(stopped, 16);
    EXPECT_LT(stopped, wall - 100);

    // Held, it is the same tap: the paddle runs on after the key is let go.
    h.KeyDown(KeyLeft);
    h.Frames(3);
    h.KeyUp(KeyLeft);
    h.Frames(5);
    EXPECT_LT(g.PaddleX, stopped - 40);
    EXPECT_EQ(options::Steer().direction, -1);
}
