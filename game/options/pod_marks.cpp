// The pod marks over pods and over the pod badges' icons.
#include "game/options/pod_marks.h"

#include "game/options/options.h"
#include "game/skitterbat.h"

namespace options {
namespace {
constexpr int kSprites = 1;
constexpr int kFirstMarkFrame = 8;
constexpr int kPodColours = 8;
// A bounced pod's icon shows the pod a little above the middle; a burst
// pod's, in the middle. In icon units at pen size 1.
constexpr float kBouncedPodRise = 5;
} // namespace

void DrawPodMark(bb_Skitterbat_MyApp& game, int colour, float x, float y) {
    if (!PodMarks() || colour < 1 || colour > kPodColours) return;
    game.m_SetCol(255, 255, 255);
    game.m_DrawImg(kSprites, x, y, static_cast<float>(kFirstMarkFrame + colour - 1));
}

void DrawBadgeMark(bb_Skitterbat_MyApp& game, int badge, float x, float y, float size) {
    if (!PodMarks() || badge < 0 || badge >= 2 * kPodColours) return;
    const bool bounced = badge < kPodColours;
    const float sizeX = game.SizeX, sizeY = game.SizeY;
    const float red = game.ColRed, green = game.ColGreen, blue = game.ColBlue;
    game.m_SetSize(size);
    game.m_SetCol(255, 255, 255);
    game.m_DrawImg(kSprites, x, bounced ? y - kBouncedPodRise * size : y,
                   static_cast<float>(kFirstMarkFrame + badge % kPodColours));
    game.m_SetSize(sizeX, sizeY);
    game.m_SetCol(red, green, blue);
}

} // namespace options
