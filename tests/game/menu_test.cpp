// The main menu: slide-in, score panel, difficulty buttons and keys, switches.
#include "meta_fixture.h"

namespace {

constexpr int kEnter = 13, kLeft = 37, kUp = 38, kRight = 39, kDown = 40;

// The menu after its slide-in, on a 640x480 virtual screen.
void Settle(GameHarness& h) {
    h.Update(32);
    ASSERT_EQ(h.game.MenuSlide, 0);
    ASSERT_EQ(h.game.Mode, ModeMenu);
}

int Rings(const GameHarness& h, float x, float y) {
    int found = 0;
    for (const DrawRecord& r : h.RecordsOfImage(95))
        if (r.frame == 15 && Near(r.x, x) && Near(r.y, y) && r.alpha == 0.75f) ++found;
    return found;
}

const TextRun* FindRun(const std::vector<TextRun>& runs, const std::string& text) {
    for (const TextRun& run : runs)
        if (run.text == text) return &run;
    return nullptr;
}

} // namespace

TEST(Menu, SlidesInOnePerUpdate) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    ASSERT_EQ(g.MenuSlide, -32);
    h.Update();
    EXPECT_EQ(g.MenuSlide, -31);
    const std::vector<DrawRecord> title = h.RecordsOfImage(99);
    // The sky, the skyline's copies side by side wherever the slide has taken
    // it (512 units apart, from the first that reaches the screen), the props.
    ASSERT_EQ(title.size(), 4u);
    EXPECT_FLOAT_EQ(title[0].y, 240 - 16 * 31);
    EXPECT_FLOAT_EQ(title[1].x, 256 - 20 * 31 + 512);
    EXPECT_FLOAT_EQ(title[2].x, 256 - 20 * 31 + 1024);
    EXPECT_FLOAT_EQ(title[3].y, 240 + 24 * 31);
    EXPECT_EQ(CountRects(h, 640 - 140 + 4 * 31, 0, 140, 480), 1);
    h.Update(31);
    EXPECT_EQ(g.MenuSlide, 0);
    h.Update(5);
    EXPECT_EQ(g.MenuSlide, 0);
    EXPECT_EQ(CountRects(h, 500, 0, 140, 480), 1);
}

TEST(Menu, ScorePanelShowsBestAndRecentOfTheDifficulty) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    Settle(h);
    g.Highscores[10] = 500;
    g.Highscores[11] = 12345678;
    g.Highscores[17] = 7;
    g.Highscores[19] = 6; // below the rows the panel has room for
    g.Highscores[40] = 321;
    g.Highscores[0] = 999; // another difficulty
    h.Update();
    EXPECT_EQ(g.MenuLineHeight, 15);
    EXPECT_EQ(g.MenuRows, 8);

    const std::vector<TextRun> runs = h.Texts();
    const TextRun* top = FindRun(runs, "Top 8");
    const TextRun* last = FindRun(runs, "Last 8");
    ASSERT_NE(top, nullptr);
    ASSERT_NE(last, nullptr);
    EXPECT_FLOAT_EQ(top->x, 520);
    EXPECT_FLOAT_EQ(top->y, 60 + 7.5f);
    EXPECT_EQ(top->red, 255);
    EXPECT_EQ(top->green, 200);
    EXPECT_FLOAT_EQ(last->y, 240 + 7.5f);
    EXPECT_EQ(last->red, 200);
    // Right-aligned in 8 characters of 10.5 units.
    const TextRun* best = FindRun(runs, "500");
    ASSERT_NE(best, nullptr);
    EXPECT_FLOAT_EQ(best->x, 520 + 5 * 10.5f);
    EXPECT_FLOAT_EQ(best->y, 60 + 7.5f + 15);
    const TextRun* longest = FindRun(runs, "12345678");
    ASSERT_NE(longest, nullptr);
    EXPECT_FLOAT_EQ(longest->x, 520);
    const TextRun* eighth = FindRun(runs, "7");
    ASSERT_NE(eighth, nullptr);
    EXPECT_FLOAT_EQ(eighth->y, 60 + 7.5f + 120);
    EXPECT_EQ(FindRun(runs, "6"), nullptr);
    EXPECT_NE(FindRun(runs, "321"), nullptr);
    EXPECT_EQ(FindRun(runs, "999"), nullptr);
    EXPECT_EQ(CountTexts(h, "0"), 5 + 7);
}

// The lowest screen a window gets (360 units) keeps four rows of each list,
// the recent one ending above the credits disc at the panel's foot.
TEST(Menu, LowScreenKeepsItsScoresAboveTheCreditsDisc) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    Settle(h);
    h.Resize(1280, 400);
    h.Render();
    h.FinishLoading();
    g.Highscores[10] = 42;
    g.Highscores[43] = 17;
    g.Highscores[44] = 16;
    h.Update();
    ASSERT_FLOAT_EQ(bb_Skitterbat_jscrh, 360);
    EXPECT_EQ(g.MenuRows, 4);
    EXPECT_TRUE(h.HasText("Top 4"));
    const std::vector<TextRun> runs = h.Texts();
    const TextRun* lastRow = FindRun(runs, "17");
    ASSERT_NE(lastRow, nullptr);
    EXPECT_LT(lastRow->y + 7.5f, bb_Skitterbat_jscrh - 100);
    EXPECT_EQ(FindRun(runs, "16"), nullptr);
}

TEST(Menu, DifficultyButtonsStartAGameAndCarryTheRing) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    Settle(h);
    g.Difficulty = 1;
    h.Update();
    EXPECT_EQ(Rings(h, 128, 336), 1);
    EXPECT_EQ(Rings(h, 256, 336), 0);

    const int cursor = g.ChannelCursor;
    h.Tap(256, 336);
    EXPECT_EQ(g.Difficulty, 2);
    EXPECT_EQ(g.Mode, ModeStartGame);
    EXPECT_EQ(g.NeedRelease, 1);
    EXPECT_EQ(g.ButtonLock, 1);
    EXPECT_EQ(g.ChannelCursor, (cursor + 1) % 24);
    EXPECT_EQ(Rings(h, 256, 336), 1); // the same update
}

TEST(Menu, PortraitLayout) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    Settle(h);
    h.Resize(480, 640); // a 360x480 virtual screen
    h.Render();
    h.FinishLoading();
    h.Update();
    ASSERT_EQ(g.Landscape, 0);
    EXPECT_EQ(Rings(h, 108, 312), 1);
    h.Tap(108, 408);
    EXPECT_EQ(g.Difficulty, 3);
    EXPECT_EQ(g.Mode, ModeStartGame);
}

TEST(Menu, KeysMoveOneStepPerPressAndStart) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    Settle(h);
    const int cursor = g.ChannelCursor;

    g.Difficulty = 1;
    for (int key : {kUp, kLeft}) {
        h.PressKey(key);
        h.Update();
    }
    EXPECT_EQ(g.Difficulty, 1);
    g.Difficulty = 3;
    for (int key : {kDown, kRight}) {
        h.PressKey(key);
        h.Update();
    }
    EXPECT_EQ(g.Difficulty, 3);
    EXPECT_EQ(g.ChannelCursor, cursor); // nothing played

    g.Difficulty = 1;
    h.PressKey(kDown, 10);
    EXPECT_EQ(g.Difficulty, 2);
    h.Update();
    h.PressKey(kRight);
    EXPECT_EQ(g.Difficulty, 3);
    h.Update();
    h.PressKey(kUp);
    EXPECT_EQ(g.Difficulty, 2);
    EXPECT_EQ(g.ChannelCursor, (cursor + 3) % 24);
    EXPECT_EQ(g.Mode, ModeMenu);

    h.Update();
    h.PressKey(kEnter);
    EXPECT_EQ(g.Mode, ModeStartGame);
    EXPECT_EQ(g.Difficulty, 2);
    EXPECT_EQ(g.ButtonLock, 1);
    EXPECT_EQ(g.NeedRelease, 1);
}

TEST(Menu, OpenGalleryBlocksTheMenuButItsButtonClosesIt) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    Settle(h);
    g.GalleryScroll = -50;
    g.GalleryTarget = -100;
    h.Tap(32, 32);
    EXPECT_EQ(g.BadgesOpen, 1);
    EXPECT_EQ(g.GalleryScroll, 0);
    EXPECT_EQ(g.GalleryTarget, 0);
    EXPECT_FALSE(h.HasText("Top"));
    h.Update();

    h.PressKey(kEnter);
    h.Update();
    h.PressKey(kDown);
    EXPECT_EQ(g.Mode, ModeMenu);
    EXPECT_EQ(g.Difficulty, 2);
    h.Update();
    h.Tap(256, 336);
    EXPECT_EQ(g.Mode, ModeMenu);
    h.Update();
    h.Tap(570, 440); // credits
    EXPECT_EQ(g.CreditsOpen, 0);
    h.Update();
    h.Tap(320, 32); // the sound switch, under the gallery's title bar
    EXPECT_EQ(g.Settings[5], 1);
    h.Update();
    EXPECT_FALSE(h.HasText("Top"));
    EXPECT_FALSE(h.HasText("Last"));
    // Buttons are still drawn.
    EXPECT_EQ(Rings(h, 256, 336), 1);

    h.Tap(32, 32);
    EXPECT_EQ(g.BadgesOpen, 0);
    h.Update();
    EXPECT_TRUE(h.HasText("Top 8"));
}

TEST(Menu, SoundAndICadeSwitches) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    Settle(h);
    const int cursor = g.ChannelCursor;
    g.Settings[5] = 2;
    h.Tap(320, 32);
    EXPECT_EQ(g.Settings[5], 0);
    EXPECT_EQ(g.ChannelCursor, cursor); // switched off: silent
    // Holding on does not toggle again.
    h.MouseButton(true);
    h.Update(3);
    EXPECT_EQ(g.Settings[5], 0);
    h.MouseButton(false);
    h.Update();
    h.Tap(320, 32);
    EXPECT_EQ(g.Settings[5], 1);
    EXPECT_EQ(g.ChannelCursor, (cursor + 1) % 24);
    h.Update();
    // The sound switch, with the options' gear beside it.
    const std::vector<DrawRecord> icons = h.RecordsOfImage(97);
    ASSERT_EQ(icons.size(), 2u);
    EXPECT_FLOAT_EQ(icons[0].frame, 4);
    EXPECT_FLOAT_EQ(icons[1].frame, 11);

    h.Tap(602, 38);
    EXPECT_EQ(bb_Skitterbat_iCadeControls, 1);
    h.Update();
    ASSERT_EQ(h.RecordsOfImage(92).size(), 1u);
    EXPECT_FLOAT_EQ(h.RecordsOfImage(92)[0].frame, 1);
    h.Tap(602, 38);
    EXPECT_EQ(bb_Skitterbat_iCadeControls, 0);
    h.Update();
    g.CreditsOpen = 1;
    h.Tap(602, 38);
    EXPECT_EQ(bb_Skitterbat_iCadeControls, 0);
}

TEST(Menu, CreditsButtonOpensTheBox) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    Settle(h);
    const int cursor = g.ChannelCursor;
    h.Tap(570, 440);
    EXPECT_EQ(g.CreditsOpen, 1);
    EXPECT_EQ(g.ChannelCursor, (cursor + 1) % 24);
    EXPECT_TRUE(h.HasText("A Game By"));
}
