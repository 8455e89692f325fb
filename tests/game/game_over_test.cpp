// The game-over overlay and its timer, and the best and recent score lists.
#include "meta_fixture.h"

#include <set>

namespace {

// A game that has just ended at the given difficulty and score.
void EndGame(GameHarness& h, int difficulty, int score) {
    h.StartGame(difficulty);
    bb_Skitterbat_MyApp& g = h.game;
    g.Mode = ModePlaying;
    g.Score = score;
    g.GameEnded = 1;
    g.OverTimer = 0;
}

void SetBest(bb_Skitterbat_MyApp& g, int difficulty, std::vector<int> scores) {
    scores.resize(10, 0);
    for (int k = 0; k < 10; ++k) g.Highscores[(difficulty - 1) * 10 + k] = scores[static_cast<size_t>(k)];
}

// Alpha of the rectangle that darkens the whole screen, -1 when there is none.
float DarkeningAlpha(const GameHarness& h) {
    for (const DrawRecord& r : h.Records())
        if (r.IsRect() && Near(r.x, -1) && Near(r.y, -1) && Near(r.w, 642) && Near(r.h, 482)) return r.alpha;
    return -1;
}

// One update on an empty draw list, so only this update's records are seen
// whatever the play frame does with the list.
void FreshUpdate(GameHarness& h) {
    h.game.m_CLS2D(NoValue, 0, 0, 0);
    h.Update();
}

std::vector<int> Row(const bb_Skitterbat_MyApp& g, int first) {
    std::vector<int> row;
    for (int k = 0; k < 10; ++k) row.push_back(g.Highscores[first + k]);
    return row;
}

} // namespace

TEST(GameOver, OverlayBuildsUpThenReturnsToTheMenuAndFades) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    EndGame(h, 1, 0);

    // First ended update: the timer is still 0, so nothing is drawn.
    FreshUpdate(h);
    EXPECT_EQ(g.OverTimer, 1);
    EXPECT_EQ(CountTexts(h, "GAME"), 0);

    FreshUpdate(h);
    EXPECT_EQ(g.OverTimer, 2);
    EXPECT_EQ(CountRects(h, -1, -1, 642, 482), 1);
    EXPECT_FLOAT_EQ(DarkeningAlpha(h), 1.0f / 40);
    // Bars 2 * 12 long; "GAME" slides down from the top, "OVER" up from the bottom.
    EXPECT_EQ(CountRects(h, -1, 480 * 0.45f - 8, 24, 16), 1);
    EXPECT_EQ(CountRects(h, 640 - 24, 480 * 0.55f - 8, 25, 16), 1);
    EXPECT_EQ(g.BoxExtent, 12);
    EXPECT_TRUE(h.HasText("GAME"));
    EXPECT_TRUE(h.HasText("OVER"));

    h.Update(29);
    FreshUpdate(h);
    EXPECT_EQ(g.BoxExtent, 216); // capped at 0.45 of 480
    EXPECT_FLOAT_EQ(DarkeningAlpha(h), 0.7f);

    // Up to 89, then the update that reaches 90 runs the overlay twice.
    h.Update(89 - g.OverTimer);
    ASSERT_EQ(g.OverTimer, 89);
    ASSERT_EQ(g.Mode, ModePlaying);
    FreshUpdate(h);
    EXPECT_EQ(g.Mode, ModeReturnToMenu);
    EXPECT_EQ(g.OverTimer, 71);
    EXPECT_EQ(CountTexts(h, "GAME"), 2);
    EXPECT_EQ(CountTexts(h, "OVER"), 2);

    // The next update records the score and shows the menu.
    g.Highscores[30] = 77;
    FreshUpdate(h);
    EXPECT_EQ(g.Mode, ModeMenu);
    EXPECT_EQ(g.OverTimer, 69);
    // 0 did not enter the best list; it heads the recent one.
    EXPECT_EQ(Row(g, 0), std::vector<int>(10, 0));
    EXPECT_EQ(g.Highscores[30], 0);
    EXPECT_EQ(g.Highscores[31], 77);

    // Over the menu the timer falls by 2 and stops at 0.
    h.Update(33);
    FreshUpdate(h);
    EXPECT_EQ(g.OverTimer, 1);
    EXPECT_TRUE(h.HasText("GAME"));
    FreshUpdate(h);
    EXPECT_EQ(g.OverTimer, 0);
    FreshUpdate(h);
    EXPECT_EQ(g.OverTimer, 0);
    EXPECT_FALSE(h.HasText("GAME"));
}

// The overlay names the place the menu stores the score at, before the score
// is stored and while it fades over the menu, and nothing for a score that
// takes no place: a new score goes after every equal one.
TEST(GameOver, AnnouncesExactlyThePlaceTheScoreIsStoredAt) {
    const std::vector<int> full{90, 80, 70, 60, 50, 40, 30, 20, 10, 5};
    struct Case {
        const char* what;
        std::vector<int> best;
        int score;
        std::string place;
        std::vector<int> stored;
    };
    const Case cases[] = {
        {"0 on an empty list", {}, 0, "", {}},
        {"equal to the best", {500, 400, 300}, 500, "2nd", {500, 500, 400, 300}},
        {"equal to the second", {500, 400, 300}, 400, "3rd", {500, 400, 400, 300}},
        {"between two", {500, 400, 300}, 450, "2nd", {500, 450, 400, 300}},
        {"above the best", {500, 400, 300}, 501, "1st!", {501, 500, 400, 300}},
        {"equal to the tenth", full, 5, "", full},
        {"just above the tenth", full, 6, "10th", {90, 80, 70, 60, 50, 40, 30, 20, 10, 6}},
    };
    const char* const places[] = {"1st!", "2nd", "3rd", "4th", "5th", "6th", "7th", "8th", "9th", "10th"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameHarness h;
        bb_Skitterbat_MyApp& g = h.game;
        SetBest(g, 1, c.best);
        EndGame(h, 1, c.score);
        std::set<std::string> announced;
        bool stored = false;
        for (int update = 0; update < 200 && !(stored && g.OverTimer == 0); ++update) {
            FreshUpdate(h);
            stored = stored || g.Mode == ModeMenu;
            if (!h.HasText("New Highscore")) continue;
            for (const char* place : places)
                if (h.HasText(std::string("\n") + place + "\n")) announced.insert(place);
        }
        ASSERT_TRUE(stored);
        if (c.place.empty()) {
            EXPECT_TRUE(announced.empty()) << *announced.begin();
            EXPECT_EQ(g.ScorePlace, -1);
        } else {
            EXPECT_EQ(announced, std::set<std::string>{c.place});
            EXPECT_EQ(places[g.ScorePlace], c.place);
        }
        std::vector<int> expected = c.stored;
        expected.resize(10, 0);
        EXPECT_EQ(Row(g, 0), expected);
    }
}

TEST(GameOver, ScoreListsPerDifficultyAndTheirLimits) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    g.Difficulty = 3;
    SetBest(g, 3, {90, 80, 70, 60, 50, 40, 30, 20, 10, 5});
    for (int k = 0; k < 10; ++k) g.Highscores[50 + k] = k + 1;

    // Equal to the tenth: neither announced nor stored.
    g.Score = 5;
    g.Mode = ModePlaying;
    EXPECT_EQ(g.m_MyNth(), String(""));
    g.Mode = ModeMenu;
    g.m_LoadMenu();
    EXPECT_EQ(g.ScorePlace, -1);
    EXPECT_EQ(Row(g, 20), (std::vector<int>{90, 80, 70, 60, 50, 40, 30, 20, 10, 5}));
    EXPECT_EQ(Row(g, 50), (std::vector<int>{5, 1, 2, 3, 4, 5, 6, 7, 8, 9}));

    g.Score = 75;
    g.m_LoadMenu();
    EXPECT_EQ(g.ScorePlace, 2);
    EXPECT_EQ(Row(g, 20), (std::vector<int>{90, 80, 75, 70, 60, 50, 40, 30, 20, 10}));
    EXPECT_EQ(Row(g, 50), (std::vector<int>{75, 5, 1, 2, 3, 4, 5, 6, 7, 8}));
    // The other difficulties are untouched.
    EXPECT_EQ(Row(g, 0), std::vector<int>(10, 0));
    EXPECT_EQ(Row(g, 10), std::vector<int>(10, 0));
    EXPECT_EQ(Row(g, 30), std::vector<int>(10, 0));
    EXPECT_EQ(Row(g, 40), std::vector<int>(10, 0));

    // Recording saves: the lists come back from the file.
    for (int i = 0; i < 60; ++i) g.Highscores[i] = 0;
    testing::internal::CaptureStdout();
    g.m_Load();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(Row(g, 20), (std::vector<int>{90, 80, 75, 70, 60, 50, 40, 30, 20, 10}));
    EXPECT_EQ(Row(g, 50), (std::vector<int>{75, 5, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(GameOver, TimerOutsidePlayAndMenu) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    g.Mode = ModeStartGame;
    g.OverTimer = 40;
    g.m_GameOver();
    EXPECT_EQ(g.OverTimer, 40);
    g.Mode = ModeMenu;
    g.OverTimer = 1;
    g.m_GameOver();
    EXPECT_EQ(g.OverTimer, 0);
}

TEST(GameOver, AFinishedGameIsRememberedAfterARestart) {
    std::string saved;
    {
        GameHarness h;
        bb_Skitterbat_MyApp& g = h.game;
        EndGame(h, 2, 0);
        g.m_GiveBadge(16);
        g.Score = 4321;
        h.Update(91);
        ASSERT_EQ(g.Mode, ModeMenu);
        saved = ReadStateText(h);
    }
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    EXPECT_EQ(g.Highscores[10], 0);
    WriteStateText(h, saved);
    EXPECT_EQ(LoadAndCapture(g), "Settings Loaded\nBadges Loaded\nHighscore 0 Loaded\nHighscore 1 Loaded\n"
                                 "Highscore 2 Loaded\n");
    EXPECT_EQ(g.Highscores[10], 4321);
    EXPECT_EQ(g.Highscores[40], 4321);
    EXPECT_TRUE(g.Badges[16]);
    h.Update(40);
    EXPECT_EQ(CountTexts(h, "4321"), 2); // best and recent lists of the menu
}
