// Playfield set-up: slot choice, random draws, full tables, centipedes per
// round and the start of a game.
#include "play_bench.h"

namespace {

using PlaySetupTest = PlayBench;

TEST_F(PlaySetupTest, AddsTakeTheHighestFreeSlotsAndDrawInOrder) {
    bb_Skitterbat_MyApp& g = *game;
    QuietField();
    Place(199, 3, 0, 0, 0, 0, 5);
    g.m_AddShroom(100, 120);
    EXPECT_EQ(g.NewSlot, 198);
    g.m_AddBall();
    EXPECT_EQ(g.NewSlot, 197);
    EXPECT_EQ(Obj(197, ObjX), 320.0f);
    EXPECT_EQ(Obj(197, ObjY), 416.0f);

    // A freed slot is taken again with whatever Cooldown its last occupant left.
    g.Objects[10 * 198 + ObjColour] = 0;
    g.Objects[10 * 198 + ObjCooldown] = 5;
    g.m_AddPede(1, 2, 4);
    EXPECT_EQ(g.NewSlot, 198);
    EXPECT_EQ(Obj(198, ObjKind), 0.0f);
    EXPECT_EQ(Obj(198, ObjCooldown), 5.0f);

    // Particles: four draws in order; the slot is reported as its first element.
    const int seed = bb_random_Seed;
    g.m_AddPart(30.5f, 40.5f);
    EXPECT_EQ(g.NewSlot, 990);
    bb_random_Seed = seed;
    const float expected[] = {bb_random_Rnd2(-4, 4), bb_random_Rnd2(-4, 4), bb_random_Rnd2(0, 360),
                              bb_random_Rnd2(0, 2)};
    const float* p = &g.Parts[990];
    EXPECT_EQ(p[PartLife], 120.0f);
    EXPECT_EQ(p[PartX], 30.5f);
    EXPECT_EQ(p[PartDX], expected[0]);
    EXPECT_EQ(p[PartDY], expected[1]);
    EXPECT_EQ(p[PartAngle], expected[2]);
    EXPECT_EQ(p[PartFrame], expected[3]);
    g.m_AddPart(0, 0);
    EXPECT_EQ(g.NewSlot, 980);

    // A centipede with no segments still draws once and still counts.
    const int before = bb_random_Seed;
    g.PedesToCome = 4;
    g.SegmentCount = 0;
    g.m_AddPede(0, 3, 4);
    const int after = bb_random_Seed;
    bb_random_Seed = before;
    bb_random_Rnd();
    EXPECT_EQ(after, bb_random_Seed);
    EXPECT_EQ(g.PedesToCome, 3);
    EXPECT_EQ(g.SegmentCount, 1);
    EXPECT_EQ(g.NewSlot, -1);

    // A first draw under 1 in 100 makes any centipede white.
    auto whiteDraw = [](int s) {
        bb_random_Seed = s;
        return bb_random_Rnd2(0, 100) < 1.0f;
    };
    int white = 0;
    while (!whiteDraw(white)) ++white;
    bb_random_Seed = white;
    g.m_AddPede(3, 2, 4);
    EXPECT_EQ(Obj(g.NewSlot, ObjColour), 8.0f);
    for (int k = 1; k <= 3; ++k) {
        const int r = g.NewSlot + 3 - k;
        EXPECT_EQ(Obj(r, ObjX), 640.0f - 24 * k);
        EXPECT_EQ(Obj(r, ObjY), -16.0f);
        EXPECT_EQ(Obj(r, ObjDX), 4.0f);
        EXPECT_EQ(Obj(r, ObjPhase), 32.0f * k);
    }
}

TEST_F(PlaySetupTest, FullTableAddsNothingButTheBallStillSetsLatchesAndTimer) {
    bb_Skitterbat_MyApp& g = *game;
    QuietField();
    for (int r = 0; r < ObjectRecords; ++r) Place(r, 1, 0, 0, 0, 0, 5);
    const int seed = bb_random_Seed;
    g.m_AddShroom(100, 100);
    EXPECT_EQ(g.NewSlot, -1);
    EXPECT_EQ(bb_random_Seed, seed) << "no colour drawn without a slot";
    g.NeedRelease = g.ButtonLock = 0;
    g.LaunchTimer = 3;
    g.m_AddBall();
    EXPECT_EQ(g.NewSlot, -1);
    EXPECT_EQ(g.LaunchTimer, 600);
    EXPECT_EQ(g.NeedRelease, 1);
    EXPECT_EQ(g.ButtonLock, 1);
    g.m_AddPede(5, 1, 4);
    EXPECT_EQ(g.NewSlot, -1);
    EXPECT_EQ(CountKind(5, 5), 200);
}

TEST_F(PlaySetupTest, NewGameAndRoundsSetTheirCounts) {
    bb_Skitterbat_MyApp& g = *game;
    const int firstRound[] = {0, 1, 2, 4};
    for (int difficulty = 1; difficulty <= 3; ++difficulty) {
        H().StartGame(difficulty);
        EXPECT_EQ(g.Mode, ModePlaying);
        EXPECT_EQ(g.PedesToCome, firstRound[difficulty]);
        EXPECT_EQ(g.Lives, 3);
        EXPECT_EQ(g.Round, 1);
        EXPECT_EQ(g.RoundPhase, 0);
        EXPECT_EQ(g.PhaseTimer, 30);
        EXPECT_EQ(g.PedeReleaseTimer, 250);
        EXPECT_EQ(g.BallBonusRounds, 1);
        EXPECT_EQ(g.SkillShotArmed, 1);
        EXPECT_EQ(g.PaddleY, 432);
        EXPECT_EQ(CountKind(0, 100), 1) << "one ball on the paddle";
        EXPECT_EQ(Obj(199, ObjKind), 18.0f);
        for (int round = 2; round <= 9; ++round) {
            g.Round = round;
            g.m_NewRound();
            EXPECT_EQ(g.PedesToCome, round % 3 == 0 ? 1 : round + 2 * difficulty) << round;
        }
    }
}

TEST_F(PlaySetupTest, PortraitScreensLiftThePaddleButNeverAboveTheWidth) {
    struct Case {
        int w, h, paddleY;
    };
    for (const Case& c : {Case{320, 480, 400}, Case{450, 480, 450}, Case{1280, 720, 312}}) {
        Open(c.w, c.h);
        H().StartGame(2);
        EXPECT_EQ(game->PaddleY, c.paddleY) << c.w << "x" << c.h;
        EXPECT_EQ(Obj(199, ObjY), static_cast<float>(c.paddleY - 16));
    }
}

} // namespace
