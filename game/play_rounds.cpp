// The round phase machine: planting mushrooms (0), the level intro (1), play
// (10), dropping the last pods (11) and the bonus count (12), then the next
// round.
#include "game/options/options.h"
#include "game/skitterbat.h"
#include "runtime/random.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double DegToRad = 0.017453292519943295;
}

void bb_Skitterbat_MyApp::StepRoundPhase() {
    if (RoundPhase == 0) StepPlanting();
    if (RoundPhase == 1) StepIntro();
    if (RoundPhase == 10) StepPlay();
    // No press made before the play phase may carry into it.
    if (RoundPhase != 10 && Paused == 0) {
        NeedRelease = 1;
        ButtonLock = 1;
    }
}

void bb_Skitterbat_MyApp::StepPlanting() {
    const float w = bb_Skitterbat_jscrw;
    // A paused round waits; the field grows on when play goes on.
    if (Paused != 0) return;
    PhaseTimer -= 1;
    if (PhaseTimer == 0) {
        PhaseTimer = 7;
        const float a = bb_random_Rnd();
        const float b = bb_random_Rnd();
        m_AddShroom(static_cast<int>(32.0f + b * (w - 64.0f)),
                    static_cast<int>(32.0f + a * static_cast<float>(PaddleY - 96)));
        const float rate = bb_random_Rnd2(0.8f, 1.2f);
        const int sound = static_cast<int>(bb_random_Rnd2(11.0f, 13.9f));
        m_PlaySFX(sound, rate, 1.0f, 0.0f);
    }
    if (IntactShrooms >= 10) {
        RoundPhase = 1;
        PhaseTimer = 0;
    }
}

void bb_Skitterbat_MyApp::StepIntro() {
    const float w = bb_Skitterbat_jscrw;
    const float h = bb_Skitterbat_jscrh;
    const bool focus = Round % 3 == 0;
    // A paused intro holds its text where it is.
    const bool running = Paused == 0;
    if (running) PhaseTimer += 1;
    float s =
        static_cast<float>(std::sin(static_cast<double>(static_cast<float>(PhaseTimer) * 1.5f) * DegToRad));
    if (s < 0.0f) s = 0.0f;
    m_SetSize(4.0f);
    if (options::ReducedMotion()) {
        // Standing in the middle, faded in and out over the time it would cross.
        constexpr float kFade = 15;
        const float shown = static_cast<float>(std::min(PhaseTimer, 121 - PhaseTimer)) / kFade;
        m_SetCol(100.0f, 180.0f, 255.0f, 0.9f * std::clamp(shown, 0.0f, 1.0f));
        m_Text(w / 2.0f, 0.4f * h, String("Level ") + Round, 1.0f, 0.0f);
    } else {
        m_SetCol(100.0f, 180.0f, 255.0f, 0.9f);
        m_Text(w - static_cast<float>(8 * PhaseTimer - 32), 0.4f * h, String("Level ") + Round, 0.0f, 0.0f);
    }
    if (running && PhaseTimer == 20) {
        int fanfare = 32;
        if (Round == 1) {
            fanfare = 31;
        } else if (focus) {
            fanfare = 33;
        }
        m_PlaySFX(fanfare, 1.0f, 1.0f, 0.0f);
    }
    if (focus) {
        m_SetSize(2.0f);
        m_SetCol(255.0f, 180.0f, 100.0f, s);
        m_Text(w / 2.0f, h / 2.0f, "Focus Round", 1.0f, 0.0f);
    }
    if (running && PhaseTimer >= 121) {
        if (focus) {
            ReleaseFocusPede();
        } else {
            ReleasePede();
        }
        SegmentCount = 1;
        RoundPhase = 10;
    }
}

void bb_Skitterbat_MyApp::StepPlay() {
    // A paused fight waits: no centipede is released and no timer runs down.
    if (Paused != 0) return;
    if (BallCount == 0 && PrevBallCount > 0) {
        m_PlaySFX(18, 1.0f, 1.0f, 0.0f);
        BallBonusRounds = 0;
    }
    PrevBallCount = BallCount;
    if (MoverCount == 0 && Lives > 0) {
        Lives -= 1;
        m_AddBall();
        m_PlaySFX(19, 1.0f, 1.0f, 0.0f);
    }
    if (SegmentCount == 0 && PedesToCome >= 1) {
        ReleasePede();
        SegmentCount = 1;
    }
    if (SegmentCount == 0 && PedesToCome == 0) {
        RoundPhase = 11;
        m_PlaySFX(36, 1.0f, 1.0f, 0.0f);
    }
    PedeReleaseTimer -= 1;
    if (PedeReleaseTimer < 0 && PedesToCome > 0) ReleasePede();
    ShroomBonusCount = 0;
}

void bb_Skitterbat_MyApp::StepRoundEnd() {
    if (RoundPhase == 11) {
        StepDropPods();
    } else if (RoundPhase == 12) {
        StepBonusCount();
    }
}

void bb_Skitterbat_MyApp::StepDropPods() {
    const float w = bb_Skitterbat_jscrw;
    const float h = bb_Skitterbat_jscrh;
    const int pods = MoverCount - BallCount;
    if (pods > 0) {
        m_SetSize(2.0f);
        m_SetCol(100.0f, 255.0f, 100.0f, 0.8f);
        m_Text(w / 2.0f, h / 2.0f, "Now drop the Pods", 1.0f, 1.0f);
        if (BallCount > 0) {
            m_SetCol(100.0f, 180.0f, 255.0f, 0.8f);
            m_Text(w / 2.0f, 0.7f * h, "Ball Bonus!", 1.0f, 1.0f);
        }
        return;
    }
    if (BallCount > 0) {
        Score += 100 * BallCount * BallBonusRounds;
        m_PlaySFX(19, 1.0f, 1.0f, 0.0f);
        m_PlaySFX(34, 1.0f, 1.0f, 0.0f);
    }
    // The badge goes by the rounds carried, even when the balls were lost here.
    if (BallBonusRounds == 1) m_GiveBadge(16);
    if (BallBonusRounds == 2) m_GiveBadge(17);
    if (BallBonusRounds == 3) m_GiveBadge(18);
    RoundPhase = 12;
    PhaseTimer = 15;
    m_PlaySFX(20, 1.0f, 1.0f, 0.0f);
}

void bb_Skitterbat_MyApp::StepBonusCount() {
    const float w = bb_Skitterbat_jscrw;
    const float h = bb_Skitterbat_jscrh;
    // A paused count shows where it stands and takes no mushroom.
    if (Paused == 0) PhaseTimer -= 1;
    if (BallCount > 0) {
        m_SetSize(2.0f);
        m_SetCol(100.0f, 180.0f, 255.0f, 0.8f);
        m_Text(w / 2.0f, 0.7f * h, "Ball Bonus!", 1.0f, 1.0f);
    }
    if (ShroomBonusCount >= 1) {
        m_SetSize(2.0f);
        m_SetCol(100.0f, 180.0f, 255.0f, 0.8f);
        m_Text(w / 2.0f, 0.8f * h, "Mushroom Bonus", 1.0f, 1.0f);
        m_Text(w / 2.0f, 0.8f * h + 32.0f, String(ShroomBonusCount) + "x25=" + 25 * ShroomBonusCount, 1.0f,
               1.0f);
    }
    if (Paused != 0 || PhaseTimer >= 1) return;
    PhaseTimer = 7;
    BonusStepDone = 0;
    for (int r = 0; r < ObjectRecords; ++r) {
        const int o = 10 * r;
        if (!(Objects[o + ObjColour] > 0.0f)) continue;
        const float kind = Objects[o + ObjKind];
        if (BonusStepDone == 0 && kind >= 5.0f && kind <= 8.0f) {
            Objects[o + ObjKind] = 0.0f;
            Objects[o + ObjColour] = 0.0f;
            BonusStepDone = 1;
            const float rate = bb_random_Rnd2(0.8f, 1.2f);
            const int sound = static_cast<int>(bb_random_Rnd2(14.0f, 15.9f));
            m_PlaySFX(sound, rate, 1.0f, 0.0f);
            Score += 25;
            ShroomBonusCount += 1;
        }
        // Balls still in flight are taken back onto the paddle for the next round.
        if (kind == static_cast<float>(KindBallFlying))
            Objects[o + ObjKind] = static_cast<float>(KindBallHeld);
    }
    if (BonusStepDone == 0) StartNextRound();
}

void bb_Skitterbat_MyApp::StartNextRound() {
    Round += 1;
    RoundPhase = 0;
    PhaseTimer = 60;
    m_NewRound();
    BallBonusRounds += 1;
    // A round never starts without a ball, and this one costs no life.
    if (MoverCount == 0) m_AddBall();
}
