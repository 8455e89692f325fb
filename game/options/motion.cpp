// Fading what was drawn, and where a fading pause panel stands.
#include "game/options/motion.h"

#include "game/options/options.h"
#include "game/skitterbat.h"

#include <algorithm>
#include <cmath>

namespace options {
namespace {
// The pause panel comes in from above the screen, 24 units an update.
constexpr float kPanelStart = -64, kPanelStep = 24;
} // namespace

void FadeSince(bb_Skitterbat_MyApp& game, int from, float alpha) {
    float* list = game.DrawList.Data();
    for (int at = from; at < game.DrawCount; at += DrawRecordSize) list[at + 7] *= alpha;
}

PanelPlace PausePanelPlace(float y, int slide, float h) {
    if (!ReducedMotion()) return {y, 1};
    float& rest = Current().screen.panelRestY;
    // Opening: the place its slide stops at; closing: the place it left.
    if (slide == 1) rest = y >= h / 2 ? y : y + kPanelStep * std::ceil((h / 2 - y) / kPanelStep);
    const float alpha = std::clamp((y - kPanelStart) / (rest - kPanelStart), 0.0f, 1.0f);
    return {rest, alpha};
}

} // namespace options
