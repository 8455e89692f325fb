// One play frame: the fixed order of the round update, the turning backdrop,
// the pass over the object table, the game-over test and the HUD.
#include "game/hints/hints.h"
#include "game/options/options.h"
#include "game/options/pod_marks.h"
#include "game/skitterbat.h"

#include <cmath>

namespace {
constexpr double DegToRad = 0.017453292519943295;
}

int bb_Skitterbat_MyApp::m_Game() {
    m_CLS2D(0.0f, 0.0f, 0.0f, 0.3f);
    DrawBackdrop();
    hints::Draw(*this, hints::Layer::UnderPlay);
    m_ResetDraw();
    SegmentCount = 0;
    MoverCount = 0;
    FlyingCount = 0;
    IntactShrooms = 0;
    BallCount = 0;
    ObjectPass();
    GameOverTest();
    StepRoundPhase();
    m_ResetDraw();
    StepRoundEnd();
    SteerAndLaunch();
    MovePaddle();
    StepParticles();
    DrawHud();
    hints::Draw(*this, hints::Layer::OverPlay);
    return 0;
}

void bb_Skitterbat_MyApp::DrawBackdrop() {
    const float w = bb_Skitterbat_jscrw;
    const float h = bb_Skitterbat_jscrh;
    m_ResetDraw();
    // Under reduced motion the backdrop stands still.
    if (!options::ReducedMotion()) BackdropAngle += 0.015f;
    m_SetSize(3.0f);
    m_Alpha(0.35f);
    m_SetRot(BackdropAngle);
    m_DrawImg(2, w / 2.0f, h / 2.0f, 0.0f);
    m_Alpha(0.25f);
    m_SetRot(BackdropAngle * 1.78f);
    m_DrawImg(2, w / 2.0f, h / 2.0f, 1.0f);
}

void bb_Skitterbat_MyApp::ObjectPass() {
    for (int r = 0; r < ObjectRecords; ++r) {
        const int o = 10 * r;
        if (!(Objects[o + ObjColour] > 0.0f)) continue;
        m_Ink(static_cast<int>(Objects[o + ObjColour]));
        // The sprite frame follows the kind the record had when its turn came.
        int frame = static_cast<int>(Objects[o + ObjKind] - 1.0f);
        const bool pod = Objects[o + ObjKind] >= 1.0f && Objects[o + ObjKind] <= 4.0f;
        const int colour = static_cast<int>(Objects[o + ObjColour]);
        if (Objects[o + ObjKind] == static_cast<float>(KindSegment)) StepSegment(o);
        // Cooldowns wait out a pause, or a flyer standing on a mushroom would strike it again and again.
        if (Objects[o + ObjCooldown] > 0.0f && Paused == 0) Objects[o + ObjCooldown] -= 1.0f;
        m_SetRot(0.0f);
        // The segment step may have turned the record into a pod.
        const float kind = Objects[o + ObjKind];
        if (kind == static_cast<float>(KindSegment)) {
            m_SetRot(static_cast<float>(std::sin(Objects[o + ObjPhase] * DegToRad)) * 10.0f);
        } else if (kind == static_cast<float>(KindBallHeld)) {
            StepHeldBall(o);
            MoverCount += 1;
            BallCount += 1;
        } else if (kind == static_cast<float>(KindBallFlying)) {
            MoverCount += 1;
            BallCount += 1;
            StepFlyer(o);
        } else if (kind >= 1.0f && kind <= 4.0f) {
            MoverCount += 1;
            StepFlyer(o);
        } else if (kind == static_cast<float>(KindShroom)) {
            IntactShrooms += 1;
        }
        if (frame < 0) frame = 0;
        if (frame < 16) {
            m_DrawImg(1, Objects[o + ObjX], Objects[o + ObjY], static_cast<float>(frame));
            if (pod) options::DrawPodMark(*this, colour, Objects[o + ObjX], Objects[o + ObjY]);
        } else if (frame == 16 || frame == 17) {
            m_SetCol(150.0f, 255.0f, 150.0f, 0.8f);
            m_Rect(Objects[o + ObjX] - 8.0f, Objects[o + ObjY] - 8.0f, 16.0f, 16.0f);
        }
    }
}

void bb_Skitterbat_MyApp::GameOverTest() {
    if (MoverCount == 0 && Lives < 1 && RoundPhase == 10) {
        if (GameEnded == 0) {
            m_PlaySFX(18, 1.0f, 1.0f, 0.0f);
            m_PlaySFX(35, 1.0f, 1.0f, 0.0f);
        }
        GameEnded = 1;
    }
}

void bb_Skitterbat_MyApp::DrawHud() {
    const float w = bb_Skitterbat_jscrw;
    const float h = bb_Skitterbat_jscrh;
    m_ResetDraw();
    ShownScore = ShownScore - (ShownScore - Score) / 6;
    if (std::abs(ShownScore - Score) < 6) ShownScore = Score;
    m_SetCol(100.0f, 255.0f, 100.0f, 0.8f);
    m_SetSize(2.0f);
    m_Text(w / 2.0f, h - 16.0f, m_rstr(ShownScore, 8, "0"), 1.0f, 1.0f);
    m_Text(w / 2.0f, 16.0f, String("Pedes ") + PedesToCome + "   " + Lives + " Lives", 1.0f, 1.0f);
}
