// Draw list, pen state, text layout and the string helpers.
#include "harness.h"

#include <gtest/gtest.h>

namespace {
constexpr int kFont = 90;

// A fresh game with its font loaded as the loader leaves it (advance 7, line 10),
// or with the given advance and line height.
void SetFontMetrics(bb_Skitterbat_MyApp& game, int advance, int line) {
    game.FontImage = kFont;
    game.ImageSizes[3 * kFont] = advance;
    game.ImageSizes[3 * kFont + 1] = line;
}
} // namespace

TEST(DrawList, HoldsAtMost2499RecordsAFrame) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    g.m_CLS2D(0, 0, 0, 1);
    for (int i = 0; i < 2498; ++i) g.m_Rect(0, 0, 1, 1);
    EXPECT_EQ(g.DrawCount, 2498 * 15);
    g.m_SetCol(10, 20, 30, 0.5f);
    g.m_Oval(7, 8, 9, 10); // the 2499th
    EXPECT_EQ(g.DrawCount, 37485);
    g.m_DrawImg(1, 2, 3, 4); // the 2500th is dropped, and so is everything after it
    g.m_Rect(1, 1, 1, 1);
    EXPECT_EQ(g.DrawCount, 37485);
    const DrawRecord last = h.Records().back();
    EXPECT_TRUE(last.IsOval());
    EXPECT_EQ(last.x, 7);
    EXPECT_EQ(last.h, 10);
    EXPECT_EQ(last.red, 10);
    EXPECT_EQ(last.alpha, 0.5f);
    EXPECT_EQ(h.Records().size(), 2499u);

    // Clearing starts a new frame with room for all of them again.
    g.m_CLS2D(NoValue, 0, 0, 0);
    EXPECT_EQ(g.DrawCount, 0);
    g.m_Rect(1, 1, 1, 1);
    EXPECT_EQ(g.DrawCount, 15);
}

TEST(DrawList, RecordsCopyThePenAtTheTimeOfTheCall) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    g.m_CLS2D(0, 0, 0, 1);
    g.m_SetSize(2, 3);
    g.m_SetRot(30);
    g.m_SetCol(1, 2, 3, 0.25f);
    g.m_DrawImg(5, 10, 20, 6);
    g.m_SetCol(200, 200, 200, 1);
    g.m_Rect(1, 2, 3, 4);

    const std::vector<DrawRecord> records = h.Records();
    ASSERT_EQ(records.size(), 2u);
    const DrawRecord& image = records[0];
    EXPECT_TRUE(image.IsImage(5));
    EXPECT_EQ(image.x, 10);
    EXPECT_EQ(image.y, 20);
    EXPECT_EQ(image.rot, -30); // stored negated
    EXPECT_EQ(image.w, 2);
    EXPECT_EQ(image.h, 3);
    EXPECT_EQ(image.frame, 6);
    EXPECT_EQ(image.alpha, 0.25f);
    EXPECT_EQ(image.red, 1);
    EXPECT_EQ(image.green, 2);
    EXPECT_EQ(image.blue, 3);
    EXPECT_EQ(image.blend, 1);
    const DrawRecord& rect = records[1];
    EXPECT_TRUE(rect.IsRect());
    EXPECT_EQ(rect.w, 3);
    EXPECT_EQ(rect.h, 4);
    EXPECT_EQ(rect.frame, 0);
    EXPECT_EQ(rect.rot, -30);
    EXPECT_EQ(rect.red, 200);
}

TEST(DrawList, PenSettersAndTheirEdgeValues) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;

    g.m_CLS2D(10, 20, 30, 0.4f);
    g.m_SetSize(5);
    g.m_SetCol(1, 1, 1, 0.1f);
    g.m_Rect(0, 0, 1, 1);
    // NoValue as red keeps the background but still resets the pen and the list.
    g.m_CLS2D(NoValue, 99, 99, 0.9f);
    EXPECT_EQ(g.ClsRed, 10);
    EXPECT_EQ(g.ClsGreen, 20);
    EXPECT_EQ(g.ClsBlue, 30);
    EXPECT_EQ(g.ClsAlpha, 0.4f);
    EXPECT_EQ(g.DrawCount, 0);
    EXPECT_EQ(g.SizeX, 1);
    EXPECT_EQ(g.ColRed, 255);
    EXPECT_EQ(g.ColAlpha, 1);

    g.m_SetSize(2, NoValue);
    EXPECT_EQ(g.SizeX, 2);
    EXPECT_EQ(g.SizeY, 2);
    g.m_SetSize(2, 0);
    EXPECT_EQ(g.SizeY, 0);

    g.m_SetCol(1, 2, 3, 0.3f);
    g.m_SetCol(4, 5, 6, NoValue);
    EXPECT_EQ(g.ColRed, 4);
    EXPECT_EQ(g.ColAlpha, 0.3f);
    g.m_Alpha(0.7f);
    EXPECT_EQ(g.ColAlpha, 0.7f);

    g.m_Ink(1);
    EXPECT_EQ(g.ColRed, 255);
    EXPECT_EQ(g.ColGreen, 80);
    EXPECT_EQ(g.ColBlue, 80);
    EXPECT_EQ(g.ColAlpha, 1);
    g.m_Ink(6);
    EXPECT_EQ(g.ColRed, 130);
    EXPECT_EQ(g.ColBlue, 255);
    g.m_Alpha(0.5f);
    g.m_Ink(9); // outside the palette: nothing changes
    g.m_Ink(-1);
    EXPECT_EQ(g.ColRed, 130);
    EXPECT_EQ(g.ColAlpha, 0.5f);
    g.m_Ink(8);
    EXPECT_EQ(g.ColRed, 255);
    EXPECT_EQ(g.ColGreen, 255);
    EXPECT_EQ(g.ColBlue, 255);
    EXPECT_EQ(g.ColAlpha, 1);

    g.m_SetRot(45);
    g.m_ResetDraw();
    EXPECT_EQ(g.Rot, 0);
    EXPECT_EQ(g.DrawBlend, 1);
}

TEST(Text, LinesEscapesAndAlignment) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    SetFontMetrics(g, 10, 12);
    g.m_CLS2D(0, 0, 0, 1);

    // Three letters centred on 100 with advance 10.
    g.m_Text(100, 50, "ABC", 1, 1);
    std::vector<DrawRecord> r = h.Records();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].x, 90);
    EXPECT_EQ(r[1].x, 100);
    EXPECT_EQ(r[2].x, 110);
    EXPECT_EQ(r[0].y, 50); // alignY 1: the line's centre on y
    EXPECT_EQ(r[0].frame, 'A' - 32);
    EXPECT_EQ(r[2].frame, 'C' - 32);
    EXPECT_TRUE(r[0].IsImage(kFont));

    // A, backslash, n, B: two lines; the alignment counts all four code units.
    g.m_CLS2D(0, 0, 0, 1);
    g.m_Text(100, 50, "A\\nB", 1, 0);
    r = h.Records();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].x, 85);
    EXPECT_EQ(r[0].y, 56); // alignY 0: half a line below y
    EXPECT_EQ(r[1].x, 85);
    EXPECT_EQ(r[1].y, 68);
    EXPECT_EQ(r[1].frame, 'B' - 32);

    // A, backslash, B: one line with the backslash glyph; spaces only advance.
    g.m_CLS2D(0, 0, 0, 1);
    g.m_Text(0, 0, "A\\B C", 0, 2);
    r = h.Records();
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[1].frame, 60);
    EXPECT_EQ(r[1].x, 10);
    EXPECT_EQ(r[2].x, 20);
    EXPECT_EQ(r[3].x, 40);
    EXPECT_EQ(r[0].y, -6); // alignY 2: half a line above y
    EXPECT_EQ(h.AllText(), "A\\B C\n");

    // Pen scale widens the advance and the line; code 0 takes no room.
    g.m_CLS2D(0, 0, 0, 1);
    g.m_SetSize(2, 3);
    g.m_Text(0, 0, String(u"A\0B", 3), 0, 1);
    r = h.Records();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[1].x, 20);
    EXPECT_EQ(r[1].w, 2);
    g.m_Text(0, 0, "a\\nb", 0, 1);
    EXPECT_EQ(h.Records().back().y, 36);
}

TEST(Text, RotationTurnsTheLayout) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    SetFontMetrics(g, 10, 12);
    g.m_CLS2D(0, 0, 0, 1);
    g.m_SetRot(90); // stored as -90: text runs down the screen
    g.m_Text(100, 100, "AB", 0, 1);
    const std::vector<DrawRecord> r = h.Records();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_NEAR(r[0].x, 100, 1e-4);
    EXPECT_NEAR(r[0].y, 100, 1e-4);
    EXPECT_NEAR(r[1].x, 100, 1e-4);
    EXPECT_NEAR(r[1].y, 110, 1e-4);
    EXPECT_EQ(r[1].rot, -90);
    EXPECT_EQ(h.Texts().size(), 1u);
    EXPECT_EQ(h.Texts()[0].text, "AB");
}

TEST(Text, RightAlignedNumbers) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    EXPECT_EQ(g.m_rstr(42, 6, "0"), String("000042"));
    EXPECT_EQ(g.m_rstr(987, 2, "0"), String("87"));
    EXPECT_EQ(g.m_rstr(5, 3, " "), String("  5"));
    EXPECT_EQ(g.m_rstr(42, 0, "0"), String("042"));
    EXPECT_EQ(g.m_rstr(-7, 4, "0"), String("00-7"));
}

TEST(Text, PlaceOfTheScore) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    g.Mode = ModePlaying; // the score is not in the list yet
    g.Difficulty = 2;
    for (int k = 0; k < 10; ++k) g.Highscores[10 + k] = 1000 - 100 * k; // 1000 .. 100
    g.Highscores[0] = 999999;                                           // another difficulty's list

    g.Score = 101;
    EXPECT_EQ(g.m_MyNth(), String("10th"));
    EXPECT_EQ(g.LoopI, 10);
    EXPECT_EQ(g.LoopJ, 10);
    g.Score = 100; // a tie goes below the equal entry
    EXPECT_EQ(g.m_MyNth(), String(""));
    EXPECT_EQ(g.LoopI, 0);
    g.Score = 1001;
    EXPECT_EQ(g.m_MyNth(), String("1st!"));
    EXPECT_EQ(g.LoopJ, 10);
    g.Score = 1000;
    EXPECT_EQ(g.m_MyNth(), String("2nd"));
    g.Score = 750;
    EXPECT_EQ(g.m_MyNth(), String("4th"));
    // Back in the menu, the place the score was stored at.
    g.Mode = ModeMenu;
    g.ScorePlace = 6;
    EXPECT_EQ(g.m_MyNth(), String("7th"));
    g.ScorePlace = -1;
    EXPECT_EQ(g.m_MyNth(), String(""));
    g.Mode = ModePlaying;
    g.Difficulty = 0; // no list at all
    EXPECT_EQ(g.m_MyNth(), String(""));
}
