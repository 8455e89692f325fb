// Mushrooms struck by flyers, pods scored and burst on the paddle, and the
// particles that fall and fade.
#include "game/options/options.h"
#include "game/skitterbat.h"
#include "runtime/random.h"

#include <cmath>

void bb_Skitterbat_MyApp::StrikeMushrooms(int o) {
    for (int r = 0; r < ObjectRecords; ++r) {
        const int j = 10 * r;
        // The distance across first: it rules out nearly every record at once.
        if (!(std::fabs(Objects[j + ObjX] - Objects[o + ObjX]) < 12.0f)) continue;
        if (!(Objects[j + ObjColour] > 0.0f) || Objects[j + ObjCooldown] != 0.0f) continue;
        if (!(Objects[j + ObjKind] > 4.0f && Objects[j + ObjKind] < 9.0f)) continue;
        if (!(std::fabs(Objects[j + ObjX] - Objects[o + ObjX]) < 12.0f &&
              std::fabs(Objects[j + ObjY] + 4.0f - Objects[o + ObjY]) < 10.0f)) {
            continue;
        }
        SkillShotArmed = 0;
        Objects[o + ObjCooldown] = 8.0f;
        Score += 1;
        Objects[j + ObjKind] += 1.0f;
        if (Objects[j + ObjKind] > 8.0f) Objects[j + ObjColour] = 0.0f;
        Objects[o + ObjDY] = -Objects[o + ObjDY];
        const float rate = bb_random_Rnd2(0.8f, 1.2f);
        const int sound = static_cast<int>(std::floor(bb_random_Rnd2(1.0f, 10.9f)));
        m_PlaySFX(sound, rate, 1.0f, 0.0f);
        for (int k = 0; k < options::Burst(3); ++k) m_AddPart(Objects[o + ObjX], Objects[o + ObjY]);
    }
}

void bb_Skitterbat_MyApp::BouncePod(int o) {
    const int colour = static_cast<int>(Objects[o + ObjColour]);
    m_GiveBadge(colour - 1);
    Objects[o + ObjKind] += 1.0f;
    // Kind counts the bounces, so later bounces are worth more.
    Score += 5 * static_cast<int>(Objects[o + ObjKind]);
    if (Objects[o + ObjKind] == 5.0f) {
        m_GiveBadge(colour - 1 + 8);
        Objects[o + ObjKind] = 0.0f;
        Objects[o + ObjColour] = 0.0f;
        m_PlaySFX(18, bb_random_Rnd2(0.8f, 1.2f), 1.0f, 0.0f);
        Score += 50;
    }
    m_PlaySFX(16, bb_random_Rnd2(0.8f, 1.2f), 1.0f, 0.0f);
}

void bb_Skitterbat_MyApp::StepParticles() {
    for (int r = 0; r < ParticleRecords; ++r) {
        const int p = 10 * r;
        if (!(Parts[p + PartLife] > 0.0f)) continue;
        Parts[p + PartLife] -= 1.0f;
        Parts[p + PartX] += Parts[p + PartDX];
        Parts[p + PartY] += Parts[p + PartDY];
        Parts[p + PartDY] += 0.3f;
        Parts[p + PartAngle] += 4.0f;
        m_SetRot(Parts[p + PartAngle]);
        m_SetCol(255.0f, 255.0f, 255.0f, std::fmax(0.0f, 0.0083f * Parts[p + PartLife]));
        m_DrawImg(96, Parts[p + PartX], Parts[p + PartY], Parts[p + PartFrame]);
    }
}
