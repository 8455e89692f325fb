// Badges: the table, awarding once, the sliding notifications and the gallery.
#include "meta_fixture.h"

namespace {

constexpr int kUp = 38, kDown = 40;
constexpr float kTitleBar = 56; // the gallery's rows begin under it

// Notification panels of the last update, as (x, y).
std::vector<std::pair<float, float>> Notes(const GameHarness& h) {
    std::vector<std::pair<float, float>> notes;
    for (const DrawRecord& r : h.Records())
        if (r.IsRect() && r.w == 160 && r.h == 32 && r.red == 0 && r.green == 0 && r.blue == 80)
            notes.emplace_back(r.x, r.y);
    return notes;
}

const TextRun* FindRun(const std::vector<TextRun>& runs, const std::string& text) {
    for (const TextRun& run : runs)
        if (run.text == text) return &run;
    return nullptr;
}

} // namespace

TEST(Badges, TableTexts) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    EXPECT_EQ(g.m_BadgeName(19), String("Skill Shot"));
    EXPECT_EQ(g.m_BadgeDetail(19), String("Avoided all Mushrooms,\\nand hit a Centipede first."));
    EXPECT_EQ(g.m_BadgeName(1), String("Orange Pod"));
    EXPECT_EQ(g.m_BadgeDetail(9), String("Bounced an Orange Pod\\noff your Paddle\\nuntil it burst."));
    EXPECT_EQ(g.m_BadgeID(8),
              String("Red Destruction|Bounced a Red Pod\\noff your Paddle\\nuntil it burst."));
    EXPECT_EQ(g.m_BadgeID(18), String("Ball Triple Bonus|Carried the same ball through\\nthree rounds!"));
    for (int n : {-1, 20, 63, 255}) {
        EXPECT_EQ(g.m_BadgeID(n), String());
        EXPECT_EQ(g.m_BadgeName(n), String());
        EXPECT_EQ(g.m_BadgeDetail(n), String());
    }
}

TEST(Badges, AwardedOnceWithASoundAndASlidingNotification) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    const int cursor = g.ChannelCursor;
    g.m_GiveBadge(3);
    g.m_GiveBadge(3);
    EXPECT_TRUE(g.Badges[3]);
    EXPECT_EQ(g.ChannelCursor, (cursor + 1) % 24);
    EXPECT_EQ(g.BadgeQueueB[0], 1);
    EXPECT_EQ(g.BadgeQueueA[0], 3);
    EXPECT_EQ(g.BadgeQueueB[1], 0);

    // Slides in from x = -160 by 16 per update, with name and icon.
    h.Update();
    EXPECT_EQ(g.BadgeQueueB[0], 2);
    ASSERT_EQ(Notes(h).size(), 1u);
    EXPECT_EQ(Notes(h)[0], std::make_pair(-128.0f, 446.0f));
    EXPECT_TRUE(h.HasText("Green Pod"));
    const std::vector<DrawRecord> icons = h.RecordsOfImage(80);
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_FLOAT_EQ(icons[0].x, 160 - 128 - 16);
    EXPECT_FLOAT_EQ(icons[0].y, 446 + 16);
    EXPECT_FLOAT_EQ(icons[0].frame, 3);
    EXPECT_FLOAT_EQ(icons[0].w, 0.5f);

    h.Update(8);
    EXPECT_EQ(Notes(h)[0].first, 0); // age 10: fully in
    h.Update(220);
    EXPECT_EQ(g.BadgeQueueB[0], 230);
    EXPECT_EQ(Notes(h)[0].first, 0);
    h.Update();
    EXPECT_EQ(Notes(h)[0].first, -16); // age 231: sliding out
    h.Update(9);
    EXPECT_EQ(g.BadgeQueueB[0], 240);
    EXPECT_EQ(Notes(h)[0].first, -160);
    h.Update(); // age 241: drawn off screen once more, and the slot is free
    EXPECT_EQ(g.BadgeQueueB[0], 0);
    ASSERT_EQ(Notes(h).size(), 1u);
    EXPECT_EQ(Notes(h)[0].first, -176);
    h.Update();
    EXPECT_TRUE(Notes(h).empty());
}

TEST(Badges, NotificationsStackAndTheFourteenthIsDropped) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    const int cursor = g.ChannelCursor;
    for (int n = 0; n < 14; ++n) g.m_GiveBadge(n);
    EXPECT_EQ(g.ChannelCursor, (cursor + 14) % 24);
    EXPECT_TRUE(g.Badges[13]);
    for (int k = 0; k < 13; ++k) EXPECT_EQ(g.BadgeQueueA[k], k);
    EXPECT_EQ(g.BadgeQueueB[13], 0);
    h.Update();
    const auto notes = Notes(h);
    ASSERT_EQ(notes.size(), 13u);
    for (int k = 0; k < 13; ++k) EXPECT_EQ(notes[static_cast<size_t>(k)].second, 480 - (k + 1) * 34);
    EXPECT_FALSE(h.HasText("Blue Destruction"));

    // A freed slot is taken again; a badge number beyond the icons shows no icon.
    h.Update(240);
    g.m_GiveBadge(100);
    EXPECT_EQ(g.BadgeQueueB[0], 1);
    h.Update();
    EXPECT_EQ(Notes(h).size(), 1u);
    EXPECT_TRUE(h.RecordsOfImage(80).empty());
}

TEST(Badges, GalleryScrollsByKeysAndDrag) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    g.BadgesOpen = 1;

    h.KeyDown(kUp);
    h.Update();
    EXPECT_EQ(g.GalleryTarget, -16);
    EXPECT_FLOAT_EQ(g.GalleryScroll, -16.0f / 6);
    h.Update(99);
    EXPECT_EQ(g.GalleryTarget, 480 - kTitleBar - 20 * 72) << "stops with the last badge at the bottom";
    h.KeyUp(kUp);
    h.Update(40);
    EXPECT_EQ(g.GalleryScroll, -1016); // eased and snapped
    EXPECT_EQ(g.BoxExtent, -1016);
    // Rows above the screen are skipped; the last one shows.
    EXPECT_FALSE(h.HasText("Red Pod"));
    EXPECT_TRUE(h.HasText("Skill Shot"));

    h.KeyDown(kDown);
    h.Update(150);
    EXPECT_EQ(g.GalleryTarget, 0);
    h.KeyUp(kDown);
    h.Update(40);
    EXPECT_EQ(g.GalleryScroll, 0);

    // Dragging moves the target 1.5 units per unit; past the top it is pulled back next update.
    h.MouseToGame(300, 200);
    h.MouseButton(true);
    h.Update();
    h.MouseToGame(300, 160);
    h.Update();
    EXPECT_EQ(g.GalleryTarget, -60);
    h.MouseToGame(300, 300);
    h.Update();
    EXPECT_EQ(g.GalleryTarget, 150);
    h.Update();
    EXPECT_EQ(g.GalleryTarget, 0);
    // Past the end likewise.
    g.GalleryTarget = -900;
    h.MouseToGame(300, 0);
    h.Update();
    EXPECT_EQ(g.GalleryTarget, -1350);
    h.Update();
    EXPECT_EQ(g.GalleryTarget, -1016);
    h.MouseButton(false);
    h.Update();
    EXPECT_EQ(g.GallerySel, -1) << "a drag is no tap";
    g.GalleryTarget = 0;
    // Beside the panel a press closes the gallery; it drags nothing.
    h.Update();
    h.MouseToGame(40, 200);
    h.MouseButton(true);
    h.Update();
    EXPECT_EQ(g.BadgesOpen, 0);
    h.MouseToGame(40, 100);
    h.Update();
    EXPECT_EQ(g.GalleryTarget, 0);
}

// A tap on a row shows how its badge is earned until the next tap elsewhere;
// one not yet earned says so. The close button shuts the gallery.
TEST(Badges, GalleryDimsUnearnedAndATapDescribesABadge) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    g.Badges[2] = true;
    g.BadgesOpen = 1;
    h.Update();

    const std::vector<TextRun> runs = h.Texts();
    const TextRun* earned = FindRun(runs, "Yellow Pod");
    const TextRun* unearned = FindRun(runs, "Red Pod");
    ASSERT_NE(earned, nullptr);
    ASSERT_NE(unearned, nullptr);
    EXPECT_EQ(earned->alpha, 1.0f);
    EXPECT_EQ(unearned->alpha, 0.7f);
    EXPECT_EQ(earned->size, 2.0f);
    EXPECT_FLOAT_EQ(unearned->y, kTitleBar + 16 + 10); // row 0: y + 16, top-aligned line of height 2 * 10
    EXPECT_TRUE(h.HasText("Badges"));
    // Every row has its icon: bright once earned, a shadow before.
    const std::vector<DrawRecord> icons = h.RecordsOfImage(80);
    ASSERT_EQ(icons.size(), 7u);
    EXPECT_FLOAT_EQ(icons[2].x, 512);
    EXPECT_FLOAT_EQ(icons[2].y, kTitleBar + 2 * 72 + 32);
    EXPECT_EQ(icons[2].red, 255);
    EXPECT_EQ(icons[0].red, 0);
    EXPECT_EQ(g.GallerySel, -1);
    EXPECT_FALSE(h.HasText("Bounced"));

    // Shown from the tap's release on, and kept.
    h.MouseToGame(300, kTitleBar + 2 * 72 + 20);
    h.MouseButton(true);
    h.Update();
    EXPECT_EQ(g.GallerySel, -1);
    h.MouseButton(false);
    h.Update(30);
    EXPECT_EQ(g.GallerySel, 2);
    EXPECT_EQ(CountRects(h, -1, 120, 642, 320), 1);
    EXPECT_TRUE(h.HasText("Bounced a Yellow Pod"));
    EXPECT_TRUE(h.HasText("off your Paddle."));
    EXPECT_FALSE(h.HasText("Not yet earned"));
    const std::vector<DrawRecord> shown = h.RecordsOfImage(80);
    ASSERT_EQ(shown.size(), 8u);
    EXPECT_FLOAT_EQ(shown[7].x, 320);
    EXPECT_FLOAT_EQ(shown[7].y, 240);
    EXPECT_FLOAT_EQ(shown[7].w, 3);
    EXPECT_FLOAT_EQ(shown[7].frame, 2);

    struct Step {
        float x, y;
        int shows;
    };
    const Step taps[] = {
        {320, 240, -1},           // on the description: it goes
        {200, kTitleBar + 30, 0}, // the first row, not yet earned
        {100, kTitleBar + 60, 0}, // the same row again
        {200, 20, -1},            // the title bar
    };
    for (const Step& tap : taps) {
        h.Tap(tap.x, tap.y);
        h.Update(2); // picked as the finger lifts, drawn from the next update
        EXPECT_EQ(g.GallerySel, tap.shows) << tap.x << ", " << tap.y;
        if (tap.shows == 0) {
            EXPECT_TRUE(h.HasText("Not yet earned"));
            EXPECT_TRUE(h.HasText("Bounced a Red Pod"));
        }
    }

    h.Tap(640 * 0.88f - 28, 28);
    EXPECT_EQ(g.BadgesOpen, 0);
}
