// The credits box: its panel and lines, and closing on a new press only.
#include "meta_fixture.h"

TEST(Credits, PanelAndLines) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    h.Update(32);
    g.CreditsOpen = 1;
    h.Update();
    EXPECT_EQ(CountRects(h, 64, 96, 512, 288), 1);
    EXPECT_EQ(CountRects(h, 76.8f, 105.6f, 486.4f, 268.8f), 1);

    const std::vector<TextRun> runs = h.Texts();
    const char* const lines[] = {"A Game By",     "The Skitterbat Team",  "github.com/skitterbat/skitterbat",
                                 "Created using", "The Cobalt Framework", "github.com/skitterbat/cobalt"};
    const float offsets[] = {0, 20, 40, 80, 100, 120};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(lines[i]);
        const TextRun* run = nullptr;
        for (const TextRun& r : runs)
            if (r.text == lines[i]) run = &r;
        ASSERT_NE(run, nullptr);
        const float length = static_cast<float>(std::string(lines[i]).size());
        EXPECT_NEAR(run->x, 320 - (length - 1) * 7 * 1.5f / 2, 0.01f); // centred
        EXPECT_NEAR(run->y, 122.7f + offsets[i], 0.01f);
        EXPECT_EQ(run->size, 1.5f);
    }
    EXPECT_EQ(g.BoxExtent, 160);
    EXPECT_EQ(g.CreditsOpen, 1);
}

TEST(Credits, PortraitKeepsTheProportions) {
    GameHarness h;
    h.Resize(480, 640);
    h.Render();
    h.FinishLoading();
    h.game.CreditsOpen = 1;
    h.Update();
    EXPECT_EQ(CountRects(h, 36, 96, 288, 288), 1);
}

TEST(Credits, OnlyANewPressCloses) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    h.Update(32);

    // The press that opens the box is held on.
    h.MouseToGame(570, 440);
    h.MouseButton(true);
    h.Update();
    EXPECT_EQ(g.CreditsOpen, 1);
    h.Update(5);
    EXPECT_EQ(g.CreditsOpen, 1);
    h.MouseButton(false);
    h.Update();
    EXPECT_EQ(g.CreditsOpen, 1);

    // A new press on a difficulty button closes the box and starts nothing.
    const int cursor = g.ChannelCursor;
    h.MouseToGame(256, 336);
    h.MouseButton(true);
    h.Update();
    EXPECT_EQ(g.CreditsOpen, 0);
    EXPECT_EQ(g.ChannelCursor, (cursor + 1) % 24);
    h.Update(3);
    EXPECT_EQ(g.Mode, ModeMenu);
    h.MouseButton(false);
    h.Update();
    EXPECT_EQ(g.Mode, ModeMenu);
}
