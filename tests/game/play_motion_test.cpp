// Round play in motion: walls and the paddle, centipede turns, the pause,
// steering, and the launch of held balls.
#include "play_bench.h"

namespace {

using PlayMotionTest = PlayBench;

constexpr int KeySpace = 32, KeyRight = 39;

TEST_F(PlayMotionTest, WallsAndPaddleBounceFlyersOnlyPastTheirEdges) {
    QuietField();
    const float py = static_cast<float>(game->PaddleY);
    Place(10, 4, 16.0f, 200, 0, 0, 17);
    Place(11, 4, 15.9f, 250, 0, 0, 17);
    Place(12, 4, 624.1f, 300, 0, 0, 17);
    Place(13, 4, 300, 7.9f, 0, 0, 17);
    Place(14, 3, 15.0f, 150, -0.2f, 0, 2); // a pod bounces silently
    Place(20, 4, 332, py - 5, 0, 1, 17);
    Place(21, 4, 280, py, 0, 0, 17); // 40 off centre: beyond the paddle
    game->SkillShotArmed = 1;
    Step();
    EXPECT_EQ(Obj(10, ObjX), 16.0f);
    EXPECT_EQ(Obj(10, ObjDX), 0.0f) << "exactly on the edge is not past it";
    EXPECT_EQ(Obj(11, ObjX), 16.0f);
    EXPECT_GE(Obj(11, ObjDX), 2.0f);
    EXPECT_EQ(Obj(12, ObjX), 624.0f);
    EXPECT_LE(Obj(12, ObjDX), -2.0f);
    EXPECT_EQ(Obj(13, ObjY), 8.0f);
    EXPECT_GE(Obj(13, ObjDY), 2.0f);
    EXPECT_GE(Obj(14, ObjDX), 2.0f);

    EXPECT_EQ(Obj(20, ObjY), py - 12);
    EXPECT_LE(Obj(20, ObjDY), -5.0f);
    EXPECT_GE(Obj(20, ObjDY), -7.0f);
    EXPECT_EQ(Obj(20, ObjDX), 2.0f) << "12 off centre, paddle size 2";
    EXPECT_EQ(game->SkillShotArmed, 0);
    EXPECT_EQ(Obj(21, ObjY), py);
    EXPECT_EQ(Rates(21), (std::vector<float>{1.2f, 1.0f, 1.4f, 0.8f}));

    Step();
    EXPECT_LT(Obj(20, ObjY), py - 16) << "gone up out of the paddle zone at once";
    EXPECT_EQ(Count(21), 4);

    Place(22, 4, 100, 512, 0, 0.5f, 17);
    Step();
    EXPECT_EQ(Obj(22, ObjColour), 0.0f) << "lost off the bottom";
}

TEST_F(PlayMotionTest, SegmentsTurnAtWallsAndAtEveryMushroomTheyMeet) {
    QuietField();
    game->m_AddPede(2, 3, 4);
    game->PedeReleaseTimer = 7;
    Step(2);
    EXPECT_EQ(Obj(199, ObjX), 624.0f);
    EXPECT_EQ(Obj(199, ObjY), -16.0f);
    Step();
    EXPECT_EQ(Obj(199, ObjX), 628.0f);
    EXPECT_EQ(Obj(199, ObjY), 0.0f);
    EXPECT_EQ(Obj(199, ObjDX), -4.0f);
    Step(5);
    EXPECT_EQ(Obj(198, ObjY), -16.0f);
    Step();
    EXPECT_EQ(Obj(198, ObjX), 628.0f) << "the next segment turns 6 frames later at the same place";
    EXPECT_EQ(Obj(198, ObjY), 0.0f);
    EXPECT_EQ(game->PedeReleaseTimer, 250) << "no release while segments are near the top";

    // Two mushrooms in reach: two reversals and two drops in one frame.
    Place(10, 2, 300, 96, 0, 0, 5);
    Place(11, 2, 310, 112, 0, 0, 7);
    Place(12, 2, 305, 128, 0, 0, 6, 3); // cooling down: ignored
    Place(30, 1, 300, 100, 4, 0, 0);
    Place(13, 2, 204, 186, 0, 0, 5); // too far above its row
    Place(31, 1, 200, 200, 4, 0, 0);
    Step();
    EXPECT_EQ(Obj(30, ObjY), 132.0f);
    EXPECT_EQ(Obj(30, ObjDX), 4.0f);
    EXPECT_EQ(Obj(31, ObjY), 200.0f);
}

TEST_F(PlayMotionTest, PauseFreezesTheRoundButNotHeldBallsOrParticles) {
    bb_Skitterbat_MyApp& g = *game;
    QuietField();
    Place(5, 1, 300, 100, 4, 0, 0);
    Place(6, 1, 628, 100, -4, 0, 0); // past the wall, turned there when play stopped
    Place(7, 1, 200, 404, 4, 0, 0);  // on a mushroom, a row above the paddle's reach
    Place(8, 3, 200, 400, 0, 0, 5);
    Place(10, 4, 200, 200, 3, 3, 17);
    Place(11, 2, 100, 300, 0, 0, 18);
    Place(12, 3, 400, 300, 0, 0, 5);
    Place(13, 4, 400, 304, 0, 3, 17); // on that mushroom, about to strike it
    g.m_AddPart(50, 50);
    const int part = g.NewSlot;
    const float partY = g.Parts[part + PartY];
    g.LaunchTimer = 50;
    g.Paused = 1;
    g.PauseSlide = 1;
    const int phaseTimer = g.PhaseTimer;
    PointAt(100);
    H().KeyDown(KeyRight);
    Step();
    H().KeyUp(KeyRight);
    EXPECT_EQ(Obj(5, ObjX), 300.0f);
    EXPECT_EQ(Obj(10, ObjX), 200.0f);
    EXPECT_EQ(Obj(10, ObjY), 200.0f);
    EXPECT_EQ(Obj(6, ObjX), 628.0f);
    EXPECT_EQ(Obj(11, ObjX), 100.0f - (100.0f - 320.0f) * 0.125f) << "held balls still ease to the paddle";
    EXPECT_EQ(Obj(11, ObjY), 300.0f - (300.0f - 420.0f) * 0.125f);
    EXPECT_EQ(g.LaunchTimer, 50);
    EXPECT_EQ(g.PhaseTimer, phaseTimer);
    EXPECT_EQ(g.Parts[part + PartLife], 119.0f);
    EXPECT_NE(g.Parts[part + PartY], partY);
    EXPECT_EQ(g.PaddleSpeed, 0.0f) << "keys do not steer";
    EXPECT_EQ(g.PaddleTargetX, 320.0f) << "nor does the pointer";
    EXPECT_EQ(Obj(12, ObjKind), 6.0f) << "struck once where it stood";
    const int score = g.Score;

    // Nothing comes closer to the paddle however long the pause lasts.
    Step(60);
    EXPECT_EQ(Obj(6, ObjX), 628.0f);
    EXPECT_EQ(Obj(6, ObjY), 100.0f) << "a segment past a wall waits to drop";
    EXPECT_EQ(Obj(7, ObjY), 404.0f) << "and one on a mushroom waits to turn";
    EXPECT_EQ(Obj(12, ObjKind), 6.0f) << "a cooling flyer waits too, and strikes no more";
    EXPECT_EQ(g.Score, score);
    EXPECT_EQ(g.GameEnded, 0);
    g.Paused = 0;
    Step();
    EXPECT_EQ(Obj(6, ObjY), 100.0f) << "moving back inside, it has no wall to drop at";
    EXPECT_EQ(Obj(7, ObjY), 420.0f);
}

TEST_F(PlayMotionTest, PaddleAcceleratesWithKeysAndFollowsThePointerInSteps) {
    bb_Skitterbat_MyApp& g = *game;
    QuietField();
    H().KeyDown(KeyRight);
    Step(10);
    EXPECT_EQ(g.PaddleSpeed, 16.0f) << "capped at a fortieth of the width";
    EXPECT_EQ(g.PaddleTargetX, 320.0f + (2 + 4 + 6 + 8 + 10 + 12 + 14 + 16) + 32);
    EXPECT_EQ(g.PaddleX, g.PaddleTargetX);
    H().KeyUp(KeyRight);
    Step();
    EXPECT_EQ(g.PaddleSpeed, 14.0f);
    Step(7);
    EXPECT_EQ(g.PaddleSpeed, 0.0f);
    H().KeyDown(KeyRight);
    Step(40);
    H().KeyUp(KeyRight);
    Step(10);
    EXPECT_EQ(g.PaddleX, 624.0f) << "kept on the screen";

    // Key steering shuts out a resting pointer; moving it over the play area
    // hands steering back, as a touch does.
    Step();
    EXPECT_EQ(bb_Skitterbat_keys, 1);
    EXPECT_EQ(g.PaddleX, 624.0f);
    PointAt(100);
    Step();
    EXPECT_EQ(bb_Skitterbat_keys, 0);
    EXPECT_EQ(g.PaddleTargetX, 100.0f);
    EXPECT_EQ(g.PaddleX, 608.0f);
    Step(30);
    EXPECT_EQ(g.PaddleX, 128.0f) << "16 units a frame";
    Step();
    EXPECT_EQ(g.PaddleX, 100.0f);

    // Moving outside the window leaves the keys in charge; a touch takes over.
    H().KeyDown(KeyRight);
    Step();
    H().KeyUp(KeyRight);
    H().MouseTo(-50, 100);
    Step();
    EXPECT_EQ(bb_Skitterbat_keys, 1);
    PointAt(300);
    H().MouseButton(true);
    Step();
    H().MouseButton(false);
    EXPECT_EQ(bb_Skitterbat_keys, 0);
    EXPECT_EQ(g.PaddleSpeed, 0.0f);
}

TEST_F(PlayMotionTest, HeldBallsLaunchByKeyFreshTouchOrTimer) {
    bb_Skitterbat_MyApp& g = *game;
    auto setUp = [&] {
        QuietField();
        g.RoundPhase = 10;
        g.PedeReleaseTimer = 100000;
        Place(5, 1, 300, 100, 0, 0, 0); // a segment keeps the round going
        g.m_AddBall();
    };
    setUp();
    Step();
    EXPECT_EQ(Obj(199, ObjKind), 18.0f);
    H().PressKey(KeySpace);
    EXPECT_EQ(Obj(199, ObjKind), 17.0f);
    EXPECT_EQ(Obj(199, ObjDX), 4.0f);
    EXPECT_EQ(Obj(199, ObjDY), -4.0f);

    // A touch held since before the ball came must be lifted first.
    H().MouseButton(true);
    Step();
    setUp();
    Step(5);
    EXPECT_EQ(Obj(199, ObjKind), 18.0f);
    H().MouseButton(false);
    Step();
    EXPECT_EQ(Obj(199, ObjKind), 18.0f);
    H().MouseButton(true);
    Step();
    H().MouseButton(false);
    EXPECT_EQ(Obj(199, ObjKind), 17.0f);
    EXPECT_EQ(Count(5), 1);

    // The timer launches when it reaches 1; nothing launches while something flies.
    setUp();
    g.LaunchTimer = 3;
    Place(50, 2, 100, 100, 0, 0, 3);
    Step(2);
    EXPECT_EQ(Obj(199, ObjKind), 18.0f);
    EXPECT_EQ(g.LaunchTimer, 1);
    g.LaunchTimer = 2;
    g.Objects[10 * 50 + ObjColour] = 0;
    Step();
    EXPECT_EQ(Obj(199, ObjKind), 17.0f);

    // A fire key held down launches each new ball at once, costing a life.
    setUp();
    H().KeyDown(KeySpace);
    Step();
    g.Objects[10 * 199 + ObjColour] = 0;
    Step();
    H().KeyUp(KeySpace);
    EXPECT_EQ(g.Lives, 2);
    EXPECT_EQ(Obj(199, ObjColour), 4.0f);
    EXPECT_EQ(Obj(199, ObjKind), 17.0f);
    EXPECT_EQ(Count(19), 1);
}

} // namespace
