// Rounds: planting and the intro, strikes and points, pods, the ball and
// mushroom bonus, focus rounds, the end of a game and the HUD.
#include "play_bench.h"

#include <cmath>

namespace {

using PlayRoundsTest = PlayBench;

TEST_F(PlayRoundsTest, NewGamePlantsTenMushroomsThenAnnouncesAndReleases) {
    bb_Skitterbat_MyApp& g = *game;
    H().StartGame(2, 1234);
    PointAt(320);
    std::vector<int> plantedAt;
    int seed = 0;
    for (int frame = 1; frame <= 93; ++frame) {
        const int before = CountKind(5, 8);
        if (frame == 30) seed = bb_random_Seed;
        Step();
        if (CountKind(5, 8) > before) plantedAt.push_back(frame);
        ASSERT_EQ(g.RoundPhase, 0);
        ASSERT_EQ(g.ButtonLock, 1) << "no press carries into the play phase";
    }
    EXPECT_EQ(plantedAt, (std::vector<int>{30, 37, 44, 51, 58, 65, 72, 79, 86, 93}));
    for (const Effect& e : effects) EXPECT_TRUE(e.n >= 11 && e.n <= 13) << e.n;

    // The first mushroom from its draws: height, width, colour, then the sound's rate and number.
    bb_random_Seed = seed;
    const float a = bb_random_Rnd(), b = bb_random_Rnd();
    const float colour = std::floor(bb_random_Rnd2(1, 8));
    const float rate = bb_random_Rnd2(0.8f, 1.2f);
    const int sound = static_cast<int>(bb_random_Rnd2(11, 13.9f));
    EXPECT_EQ(Obj(198, ObjX), static_cast<float>(static_cast<int>(32 + b * 576)));
    EXPECT_EQ(Obj(198, ObjY), static_cast<float>(static_cast<int>(32 + a * 336)));
    EXPECT_EQ(Obj(198, ObjColour), colour);
    EXPECT_EQ(effects[0].n, sound);
    EXPECT_EQ(effects[0].rate, rate);

    Step();
    EXPECT_EQ(g.RoundPhase, 1) << "the intro starts the frame after the tenth";
    EXPECT_TRUE(H().HasText("Level 1"));
    effects.clear();
    Step(119);
    EXPECT_EQ(g.RoundPhase, 1);
    EXPECT_EQ(Count(31), 1) << "the first round's fanfare";
    Step();
    EXPECT_EQ(g.RoundPhase, 10);
    EXPECT_GE(CountKind(0, 0), 6);
    EXPECT_LE(CountKind(0, 0), 11);
    EXPECT_EQ(g.PedesToCome, 1);
    EXPECT_TRUE(H().HasText("Pedes 1   3 Lives"));
}

TEST_F(PlayRoundsTest, StrikesScoreAndTheFirstIsASkillShot) {
    bb_Skitterbat_MyApp& g = *game;
    QuietField();
    g.RoundPhase = 10;
    g.PedeReleaseTimer = 100000;
    g.SkillShotArmed = 1;
    Place(5, 6, 300, 100, 4, 0, 0);
    Place(6, 4, 304, 104, 1, -3, 17);
    const int seed = bb_random_Seed;
    Step();
    bb_random_Seed = seed;
    const float dxPod = 1 + bb_random_Rnd2(-0.5f, 0.5f);
    const float dyPod = -3 + bb_random_Rnd2(-0.5f, 0.5f);
    const float dyBall = -(-3 + bb_random_Rnd2(-0.5f, 0.5f));
    const float rate = bb_random_Rnd2(0.8f, 1.2f);
    const int sound = static_cast<int>(std::floor(bb_random_Rnd2(1, 10.9f)));
    EXPECT_EQ(Obj(5, ObjKind), 1.0f);
    EXPECT_EQ(Obj(5, ObjColour), 6.0f);
    EXPECT_EQ(Obj(5, ObjDX), dxPod);
    EXPECT_EQ(Obj(5, ObjDY), dyPod);
    EXPECT_EQ(Obj(6, ObjDY), dyBall);
    EXPECT_EQ(Obj(5, ObjCooldown), 15.0f);
    EXPECT_EQ(Obj(6, ObjCooldown), 15.0f);
    EXPECT_EQ(g.Score, 60);
    EXPECT_TRUE(g.Badges[19]);
    ASSERT_GE(effects.size(), 2u);
    EXPECT_EQ(effects.front().n, 37);
    EXPECT_EQ(effects.back().n, sound);
    EXPECT_EQ(effects.back().rate, rate);
    EXPECT_EQ(LiveParticles(), 5);

    // Later hits, by a ball or by a pod that has cooled down, are worth 10.
    Place(7, 2, 100, 300, 4, 0, 0);
    Place(8, 4, 104, 300, 0, 0, 17);
    Place(9, 3, 200, 250, -4, 0, 0);
    Place(10, 3, 196, 250, 0, 0, 2, 5);
    Step();
    EXPECT_EQ(Obj(7, ObjKind), 1.0f);
    EXPECT_EQ(Obj(9, ObjKind), 0.0f) << "a cooling pod strikes nothing";
    Place(10, 3, 192, 250, 0, 0, 2);
    Step();
    EXPECT_EQ(Obj(9, ObjKind), 1.0f);
    EXPECT_EQ(g.Score, 80);
    EXPECT_EQ(Count(37), 1);

    // A mushroom hit first spoils the skill shot; it takes four strikes.
    QuietField();
    g.SkillShotArmed = 1;
    Place(10, 2, 300, 196, 0, 0, 5);
    std::vector<int> shown;
    for (int strike = 1; strike <= 4; ++strike) {
        Place(20, 4, 300, 200, 0, -2, 17);
        Step();
        const std::vector<int> frames = FramesAt(300, 196);
        if (!frames.empty()) shown.push_back(frames[0]);
        EXPECT_EQ(g.Score, strike);
        EXPECT_EQ(Obj(20, ObjDY), 2.0f);
        EXPECT_EQ(Obj(20, ObjCooldown), 8.0f);
        EXPECT_EQ(LiveParticles(), 3 * strike);
    }
    EXPECT_EQ(g.SkillShotArmed, 0);
    EXPECT_EQ(shown, (std::vector<int>{4, 5, 6, 7}));
    EXPECT_EQ(Obj(10, ObjColour), 0.0f);

    // One flyer strikes every mushroom it touches in a frame.
    Place(11, 2, 400, 196, 0, 0, 5);
    Place(12, 2, 405, 198, 0, 0, 5);
    Place(21, 4, 400, 200, 0, -2, 17);
    Step();
    EXPECT_EQ(Obj(11, ObjKind), 6.0f);
    EXPECT_EQ(Obj(12, ObjKind), 6.0f);
    EXPECT_EQ(Obj(21, ObjDY), -2.0f) << "turned twice";
}

TEST_F(PlayRoundsTest, PodBouncedUntilItBurstsEarns120) {
    bb_Skitterbat_MyApp& g = *game;
    QuietField();
    const float py = static_cast<float>(g.PaddleY);
    Place(40, 3, 320, py, 0, 0, 1);
    const int scores[] = {10, 25, 45, 120};
    std::vector<int> shown;
    int particles = 0;
    for (int bounce = 0; bounce < 4; ++bounce) {
        g.Objects[10 * 40 + ObjY] = py;
        g.Objects[10 * 40 + ObjDY] = 0;
        g.Objects[10 * 40 + ObjDX] = 0;
        Step();
        const std::vector<int> frames = FramesAt(320, py - 12);
        if (!frames.empty()) shown.push_back(frames[0]);
        EXPECT_EQ(g.Score, scores[bounce]);
        particles += bounce + 2;
        EXPECT_EQ(LiveParticles(), particles);
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(Obj(40, ObjColour), 0.0f);
    EXPECT_TRUE(g.Badges[2]) << "Yellow Pod";
    EXPECT_TRUE(g.Badges[10]) << "Yellow Destruction";
    EXPECT_EQ(Count(16), 4);
    EXPECT_EQ(Count(18), 1);
    EXPECT_EQ(Count(21), 0) << "pods bounce without the ball sound";
}

TEST_F(PlayRoundsTest, BallBonusPaysPerRoundCarriedAndBadgesOneToThree) {
    bb_Skitterbat_MyApp& g = *game;
    for (int rounds = 0; rounds <= 4; ++rounds) {
        QuietField();
        for (int b = 16; b <= 18; ++b) g.Badges[b] = false;
        g.RoundPhase = 11;
        g.BallBonusRounds = rounds;
        Place(150, 4, 320, 420, 4, -4, 18);
        Place(151, 4, 200, 420, 4, -4, 18);
        Step();
        EXPECT_EQ(g.Score, 200 * rounds);
        EXPECT_EQ(g.RoundPhase, 12);
        EXPECT_EQ(g.PhaseTimer, 15);
        for (int b = 16; b <= 18; ++b) EXPECT_EQ(g.Badges[b], b - 15 == rounds) << "rounds " << rounds;
        EXPECT_EQ(Count(19) + Count(34) + Count(20), 3);
    }

    // Pods still falling: the round waits.
    QuietField();
    g.RoundPhase = 11;
    Place(150, 4, 320, 420, 4, -4, 18);
    Place(30, 2, 100, 100, 0, 0, 2);
    Step();
    EXPECT_EQ(g.RoundPhase, 11);
    EXPECT_TRUE(H().HasText("Now drop the Pods"));
    EXPECT_TRUE(H().HasText("Ball Bonus!"));

    // Every ball lost meanwhile: no points, but the badge still goes by the count.
    QuietField();
    g.Badges[17] = false;
    g.RoundPhase = 11;
    g.BallBonusRounds = 2;
    Step();
    EXPECT_EQ(g.Score, 0);
    EXPECT_TRUE(g.Badges[17]);
    EXPECT_EQ(Count(34), 0);
}

TEST_F(PlayRoundsTest, BonusCountClearsAMushroomEverySevenFramesThenStartsTheNextRound) {
    bb_Skitterbat_MyApp& g = *game;
    QuietField();
    g.RoundPhase = 12;
    g.PhaseTimer = 15;
    Place(30, 2, 100, 100, 0, 0, 7);
    Place(10, 2, 200, 100, 0, 0, 5);
    Place(20, 2, 300, 100, 0, 0, 6);
    Place(50, 4, 320, 200, 0, 0, 17);
    std::vector<int> removedAt;
    int frame = 0;
    while (g.Round == 1 && frame < 100) {
        const int before = CountKind(5, 8);
        ++frame;
        Step();
        if (CountKind(5, 8) < before) removedAt.push_back(frame);
        if (frame == 15) {
            EXPECT_EQ(Obj(10, ObjColour), 0.0f) << "the lowest slot first";
            EXPECT_EQ(Obj(50, ObjKind), 18.0f) << "flying balls are taken back";
        }
        if (frame == 30) {
            EXPECT_TRUE(H().HasText("Mushroom Bonus"));
            EXPECT_TRUE(H().HasText("3x25=75"));
        }
    }
    EXPECT_EQ(removedAt, (std::vector<int>{15, 22, 29}));
    EXPECT_EQ(frame, 36);
    EXPECT_EQ(g.Score, 75);
    EXPECT_EQ(g.RoundPhase, 0);
    EXPECT_EQ(g.PhaseTimer, 60);
    EXPECT_EQ(g.BallBonusRounds, 2);
    EXPECT_EQ(g.PedesToCome, 6);
    EXPECT_EQ(CountKind(17, 18), 1) << "the carried ball, no new one";
    EXPECT_EQ(Count(14) + Count(15), 3);

    // No ball left at all: the next round brings one without using a life.
    QuietField();
    g.RoundPhase = 12;
    g.PhaseTimer = 1;
    Step();
    EXPECT_EQ(g.Round, 2);
    EXPECT_EQ(CountKind(18, 18), 1);
    EXPECT_EQ(g.Lives, 3);
}

TEST_F(PlayRoundsTest, FocusRoundEndsTheFrameAfterItsOneSegmentIsHit) {
    bb_Skitterbat_MyApp& g = *game;
    QuietField();
    g.Round = 3;
    g.m_NewRound();
    g.RoundPhase = 1;
    g.PhaseTimer = 0;
    Place(150, 4, 320, 420, 4, -4, 18);
    bool announced = false;
    for (int frame = 1; frame <= 120; ++frame) {
        Step();
        announced = announced || H().HasText("Focus Round");
    }
    EXPECT_TRUE(announced);
    EXPECT_EQ(Count(33), 1);
    Step();
    EXPECT_EQ(g.RoundPhase, 10);
    EXPECT_EQ(CountKind(0, 0), 1);
    EXPECT_EQ(g.PedesToCome, 0);

    Place(199, Obj(199, ObjColour), 300, 100, 4, 0, 0);
    Place(10, 4, 304, 104, 0, 0, 17);
    Step();
    EXPECT_EQ(Obj(199, ObjKind), 1.0f);
    EXPECT_EQ(g.RoundPhase, 10);
    Step();
    EXPECT_EQ(g.RoundPhase, 11);
    EXPECT_EQ(Count(36), 1);
}

TEST_F(PlayRoundsTest, PlayPhaseReleasesWhenTheFieldIsEmptyAndByTimer) {
    bb_Skitterbat_MyApp& g = *game;
    QuietField();
    g.RoundPhase = 10;
    g.PedesToCome = 3;
    g.PedeReleaseTimer = 5;
    Place(150, 4, 320, 420, 4, -4, 18);
    Step();
    EXPECT_EQ(g.PedesToCome, 2) << "at once on an empty field";
    for (int r = 0; r < ObjectRecords; ++r) {
        if (Obj(r, ObjColour) > 0 && Obj(r, ObjKind) == 0) g.Objects[10 * r + ObjY] = 200;
    }
    g.PedeReleaseTimer = 1;
    Step();
    EXPECT_EQ(g.PedesToCome, 2);
    Step();
    EXPECT_EQ(g.PedesToCome, 1) << "the timer went below 0";
    Step();
    EXPECT_EQ(g.PedeReleaseTimer, 249) << "reset by the new centipede near the top";
}

TEST_F(PlayRoundsTest, GameEndsAtThePaddleLineOrWithoutBallsAndLives) {
    bb_Skitterbat_MyApp& g = *game;
    const float py = 432;
    QuietField();
    g.RoundPhase = 10;
    Place(150, 4, 320, 420, 4, -4, 18);
    Place(5, 1, 200, py - 7, 0, 0, 0);
    Place(6, 1, 317, py - 8, 0, 0, 0);
    Step();
    EXPECT_EQ(g.GameEnded, 0);
    Place(7, 1, 356, py - 7.5f, 0, 0, 0);
    Step();
    EXPECT_EQ(g.GameEnded, 1) << "whatever the lives";
    EXPECT_EQ(g.Lives, 3);
    ASSERT_GE(effects.size(), 2u);
    EXPECT_EQ(effects[effects.size() - 2].n, 18);
    EXPECT_EQ(effects.back().n, 35);

    QuietField();
    g.RoundPhase = 10;
    g.Lives = 1;
    g.PedesToCome = 0;
    Place(5, 1, 200, 100, 0, 0, 0);
    Step();
    EXPECT_EQ(g.Lives, 0);
    EXPECT_EQ(Count(19), 1);
    g.Objects[10 * 199 + ObjColour] = 0;
    g.RoundPhase = 11;
    Step();
    EXPECT_EQ(g.GameEnded, 0) << "only the play phase runs out of balls";
    g.RoundPhase = 10;
    Step();
    EXPECT_EQ(g.GameEnded, 1);
    EXPECT_EQ(Count(35), 1);
    EXPECT_TRUE(H().HasText("Pedes 0   0 Lives"));
}

TEST_F(PlayRoundsTest, ScoreEasesOnTheHudAndParticlesFadeAsTheyFall) {
    bb_Skitterbat_MyApp& g = *game;
    QuietField();
    g.Score = 600;
    g.ShownScore = 0;
    Step();
    EXPECT_EQ(g.ShownScore, 100);
    EXPECT_TRUE(H().HasText("00000100"));
    Step();
    EXPECT_EQ(g.ShownScore, 183);
    Step(30);
    EXPECT_TRUE(H().HasText("00000600"));

    g.m_AddPart(100, 100);
    const int p = g.NewSlot;
    const float dy = g.Parts[p + PartDY];
    Step();
    EXPECT_EQ(g.Parts[p + PartDY], dy + 0.3f);
    const std::vector<DrawRecord> drawn = H().RecordsOfImage(96);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_NEAR(drawn[0].alpha, 0.0083f * 119, 1e-6f);
    Step(119);
    EXPECT_EQ(g.Parts[p + PartLife], 0.0f);
    Step();
    EXPECT_TRUE(H().RecordsOfImage(96).empty());
}

} // namespace
