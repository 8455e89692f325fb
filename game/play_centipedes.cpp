// Centipedes: the step of one segment (walls, mushrooms, the paddle line and
// being struck into a pod) and the release of new centipedes.
#include "game/options/options.h"
#include "game/skitterbat.h"
#include "runtime/random.h"

#include <cmath>

void bb_Skitterbat_MyApp::StepSegment(int i) {
    const float w = bb_Skitterbat_jscrw;
    SegmentCount += 1;
    // No new centipede while any segment is still near the top.
    if (Objects[i + ObjY] < 48.0f) PedeReleaseTimer = 250;
    // A paused segment stays put: it neither advances nor drops a row.
    const bool moving = Paused == 0;
    if (moving) Objects[i + ObjX] += Objects[i + ObjDX];
    // X stays outside; the next frame's move brings it back in.
    if (moving && Objects[i + ObjX] < 16.0f) {
        Objects[i + ObjY] += 16.0f;
        Objects[i + ObjDX] = std::fabs(Objects[i + ObjDX]);
    }
    if (moving && Objects[i + ObjX] > w - 16.0f) {
        Objects[i + ObjY] += 16.0f;
        Objects[i + ObjDX] = -std::fabs(Objects[i + ObjDX]);
    }
    Objects[i + ObjPhase] += 16.0f;
    if (GameEnded == 0 && std::fabs(Objects[i + ObjX] - PaddleX) < static_cast<float>(16 * PaddleSize + 8) &&
        Objects[i + ObjY] > static_cast<float>(PaddleY - 8)) {
        GameEnded = 1;
        m_PlaySFX(18, 1.0f, 1.0f, 0.0f);
        m_PlaySFX(35, 1.0f, 1.0f, 0.0f);
    }
    for (int r = 0; r < ObjectRecords; ++r) {
        const int j = 10 * r;
        // Strikers and mushrooms only act within 16 units across, and the
        // segment's X does not change here: most records end at this test.
        if (!(std::fabs(Objects[j + ObjX] - Objects[i + ObjX]) < 16.0f)) continue;
        if (!(Objects[j + ObjColour] > 0.0f) || Objects[j + ObjCooldown] != 0.0f) continue;
        const float kind = Objects[j + ObjKind];
        const bool striker = kind == static_cast<float>(KindBallFlying) || (kind >= 1.0f && kind <= 4.0f);
        if (striker && std::fabs(Objects[j + ObjX] - Objects[i + ObjX]) < 16.0f &&
            std::fabs(Objects[j + ObjY] - Objects[i + ObjY]) < 16.0f) {
            if (SkillShotArmed == 1) {
                m_PlaySFX(37, 1.0f, 1.0f, 0.0f);
                Score += 50;
                m_GiveBadge(19);
                SkillShotArmed = 0;
            }
            Objects[i + ObjKind] = static_cast<float>(KindPod);
            Objects[i + ObjCooldown] = 16.0f;
            Objects[j + ObjCooldown] = 16.0f;
            // The pod takes the striker's velocity, scattered; the striker bounces back.
            Objects[i + ObjDX] = Objects[j + ObjDX] + bb_random_Rnd2(-0.5f, 0.5f);
            Objects[i + ObjDY] = Objects[j + ObjDY] + bb_random_Rnd2(-0.5f, 0.5f);
            Objects[j + ObjDY] = -(Objects[j + ObjDY] + bb_random_Rnd2(-0.5f, 0.5f));
            const float rate = bb_random_Rnd2(0.8f, 1.2f);
            const int sound = static_cast<int>(std::floor(bb_random_Rnd2(1.0f, 10.9f)));
            m_PlaySFX(sound, rate, 1.0f, 0.0f);
            Score += 10;
            for (int k = 0; k < options::Burst(5); ++k) m_AddPart(Objects[i + ObjX], Objects[i + ObjY]);
        }
        if (moving && kind > 4.0f && kind < 9.0f &&
            std::fabs(Objects[j + ObjX] - Objects[i + ObjX]) < 12.0f &&
            std::fabs(Objects[j + ObjY] + 4.0f - Objects[i + ObjY]) < 10.0f) {
            Objects[i + ObjDX] = -Objects[i + ObjDX];
            Objects[i + ObjY] += 16.0f;
        }
    }
}

void bb_Skitterbat_MyApp::ReleasePede() {
    // Colour first, then length.
    const int colour = static_cast<int>(bb_random_Rnd2(1.0f, 8.0f));
    const int length = static_cast<int>(bb_random_Rnd2(6.0f, 12.0f));
    m_AddPede(length, colour, 4);
}

void bb_Skitterbat_MyApp::ReleaseFocusPede() {
    const int colour = static_cast<int>(bb_random_Rnd2(1.0f, 8.0f));
    m_AddPede(1, colour, 4);
}
