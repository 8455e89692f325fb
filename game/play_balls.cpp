// Balls and everything else that flies (pods share the rule): held balls
// easing onto the paddle, wall and paddle bounces, steering, launching and
// the paddle itself.
#include "game/hints/hints.h"
#include "game/options/options.h"
#include "game/skitterbat.h"
#include "runtime/random.h"

#include <cmath>

namespace {
// A speed sent away from a wall (direction +1 or -1), jittered a little and
// never slower than 2, so nothing creeps along a wall.
float Rebound(float speed, float direction) {
    const float away = direction * std::fabs(speed + bb_random_Rnd2(-0.5f, 0.5f));
    if (direction > 0.0f) return away < 2.0f ? 2.0f : away;
    return away > -2.0f ? -2.0f : away;
}
} // namespace

void bb_Skitterbat_MyApp::StepHeldBall(int o) {
    Objects[o + ObjX] = Objects[o + ObjX] - (Objects[o + ObjX] - PaddleX) * 0.125f;
    Objects[o + ObjY] = Objects[o + ObjY] - (Objects[o + ObjY] - static_cast<float>(PaddleY - 12)) * 0.125f;
}

void bb_Skitterbat_MyApp::StepFlyer(int o) {
    const float w = bb_Skitterbat_jscrw;
    const float h = bb_Skitterbat_jscrh;
    const bool ball = Objects[o + ObjKind] == static_cast<float>(KindBallFlying);
    FlyingCount += 1;
    if (Objects[o + ObjCooldown] == 0.0f) StrikeMushrooms(o);
    if (Paused == 0) {
        Objects[o + ObjX] += Objects[o + ObjDX];
        Objects[o + ObjY] += Objects[o + ObjDY];
    }
    if (Objects[o + ObjX] < 16.0f) {
        Objects[o + ObjX] = 16.0f;
        Objects[o + ObjDX] = Rebound(Objects[o + ObjDX], 1.0f);
        if (ball) m_PlaySFX(21, 1.2f, 1.0f, 0.0f);
    }
    if (Objects[o + ObjX] > w - 16.0f) {
        Objects[o + ObjX] = w - 16.0f;
        Objects[o + ObjDX] = Rebound(Objects[o + ObjDX], -1.0f);
        if (ball) m_PlaySFX(21, 1.0f, 1.0f, 0.0f);
    }
    if (Objects[o + ObjY] < 8.0f) {
        Objects[o + ObjY] = 8.0f;
        Objects[o + ObjDY] = Rebound(Objects[o + ObjDY], 1.0f);
        if (ball) m_PlaySFX(21, 1.4f, 1.0f, 0.0f);
    }
    const float y = Objects[o + ObjY];
    const float paddleY = static_cast<float>(PaddleY);
    if (paddleY - 12.0f < y && y < paddleY + 12.0f &&
        std::fabs(Objects[o + ObjX] - PaddleX) < static_cast<float>(16 * PaddleSize + 8)) {
        SkillShotArmed = 0;
        const bool pod = Objects[o + ObjKind] < 5.0f;
        if (pod) {
            const int burst = options::Burst(static_cast<int>(Objects[o + ObjKind]) + 1);
            for (BurstCount = 0; BurstCount < burst; ++BurstCount)
                m_AddPart(Objects[o + ObjX], Objects[o + ObjY]);
        }
        // Off-centre hits leave at a flatter angle.
        Objects[o + ObjDX] = (Objects[o + ObjX] - PaddleX) / static_cast<float>(3 * PaddleSize);
        Objects[o + ObjY] = paddleY - 12.0f;
        float dy = -(5.0f + 2.0f * bb_random_Rnd());
        if (dy > -2.0f) dy = -2.0f;
        Objects[o + ObjDY] = dy;
        if (pod) BouncePod(o);
        if (ball) m_PlaySFX(21, 0.8f, 1.0f, 0.0f);
    }
    if (Objects[o + ObjY] > h + 32.0f) Objects[o + ObjColour] = 0.0f;
    Objects[o + ObjPhase] += 4.0f;
    if (Objects[o + ObjKind] < 5.0f) m_SetRot(Objects[o + ObjPhase]);
}

void bb_Skitterbat_MyApp::SteerAndLaunch() {
    // Held keys steer, or with keys without holding the taps that latch.
    options::LatchSteering(m_PlayKey(3), m_PlayKey(5), Paused != 0);
    const options::SteerLatch& steer = options::Steer();
    int touched = 0;
    for (int t = 0; t < 10; ++t) {
        if (TouchDownArr[t] > 0) {
            touched = 1;
            // Taps on the pause panel are meant for the panel, not the paddle.
            if (Paused == 0) {
                PaddleTargetX = static_cast<float>(TouchXArr[t]);
                bb_Skitterbat_keys = 0;
            }
        }
    }
    // The pointer takes steering back from the keys by moving over the play area.
    const bool pointerMoved = MouseX != PrevMouseX || MouseY != PrevMouseY;
    const bool overPlayArea = MouseX >= 0 && static_cast<float>(MouseX) < bb_Skitterbat_jscrw &&
                              MouseY >= 0 && static_cast<float>(MouseY) < bb_Skitterbat_jscrh;
    if (Paused == 0 && bb_Skitterbat_keys == 1 && pointerMoved && overPlayArea && !steer.left &&
        !steer.right) {
        bb_Skitterbat_keys = 0;
        PaddleSpeed = 0.0f;
        options::StopSteering();
    }
    // The pointer is touch 0: it steers while it is held, or while no touch
    // is. Once the first finger lifts, the last one still down steers, not
    // the place the first one left.
    if (bb_Skitterbat_keys == 0 && Paused == 0 && (TouchDownArr[0] != 0 || touched == 0))
        PaddleTargetX = static_cast<float>(MouseX);
    // A held ball waits out the pause with the round: the player comes back to it on the paddle.
    if (LaunchTimer > 0 && Paused == 0) LaunchTimer -= 1;
    if (touched == 0) NeedRelease = 0;
    // While paused, touches and the select keys work the panel.
    if (Paused != 0 || RoundPhase != 10 || FlyingCount != 0) return;
    bool launch = touched != 0;
    for (int key = 10; key <= 16 && !launch; ++key) launch = m_PlayKey(key);
    const bool byPlayer = launch;
    if (!launch) launch = LaunchTimer == 1;
    // A touch launches only when it began after a release.
    if (!launch || NeedRelease != 0) return;
    NeedRelease = 1;
    bool launched = false;
    for (int r = 0; r < ObjectRecords; ++r) {
        const int o = 10 * r;
        if (Objects[o + ObjColour] > 0.0f && Objects[o + ObjKind] == static_cast<float>(KindBallHeld)) {
            Objects[o + ObjKind] = static_cast<float>(KindBallFlying);
            m_PlaySFX(5, 1.0f, 1.0f, 0.0f);
            launched = true;
        }
    }
    if (launched) hints::BallLaunched(*this, byPlayer);
}

void bb_Skitterbat_MyApp::MovePaddle() {
    // A paused paddle stays put: keys held to move the pause panel's focus must not steer it.
    if (Paused == 0) SteerPaddle();
    m_SetCol(160.0f, 255.0f, 160.0f, 0.8f);
    m_Rect(PaddleX - static_cast<float>(16 * PaddleSize), static_cast<float>(PaddleY - 6),
           static_cast<float>(32 * PaddleSize), 12.0f);
}

void bb_Skitterbat_MyApp::SteerPaddle() {
    const float w = bb_Skitterbat_jscrw;
    const bool left = options::Steer().left;
    if (left) {
        PaddleSpeed -= 2.0f;
        bb_Skitterbat_keys = 1;
    }
    const bool right = options::Steer().right;
    if (right) {
        PaddleSpeed += 2.0f;
        bb_Skitterbat_keys = 1;
    }
    if (!left && PaddleSpeed < 0.0f && bb_Skitterbat_keys == 1) PaddleSpeed += 2.0f;
    if (!right && PaddleSpeed > 0.0f && bb_Skitterbat_keys == 1) PaddleSpeed -= 2.0f;
    if (-2.0f < PaddleSpeed && PaddleSpeed < 2.0f && bb_Skitterbat_keys == 1) PaddleSpeed = 0.0f;
    const float maxSpeed = w / 40.0f;
    if (PaddleSpeed < -maxSpeed) PaddleSpeed = -maxSpeed;
    if (PaddleSpeed > maxSpeed) PaddleSpeed = maxSpeed;
    PaddleTargetX += PaddleSpeed;
    // A paddle a tap set moving stops at the wall it reaches.
    if (PaddleTargetX <= 16.0f && left) options::StopSteering();
    if (PaddleTargetX >= w - 16.0f && right) options::StopSteering();
    if (PaddleTargetX < 16.0f) PaddleTargetX = 16.0f;
    if (PaddleTargetX > w - 16.0f) PaddleTargetX = w - 16.0f;
    if (PaddleTargetX < PaddleX) PaddleX -= 16.0f;
    if (PaddleX < PaddleTargetX) PaddleX += 16.0f;
    if (std::fabs(PaddleTargetX - PaddleX) < 16.0f) PaddleX = PaddleTargetX;
}
