// The loading screen: a spinner of fading dots around the maker's logo, drawn
// at every loading step.
#include "game/skitterbat.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float kDegToRad = 0.017453292f;
} // namespace

int bb_Skitterbat_MyApp::m_WaitStart(int mode) {
    if (mode != 1) return 0;
    const float w = bb_Skitterbat_jscrw;
    const float h = bb_Skitterbat_jscrh;
    m_CLS2D(40, 40, 80, 1);
    const int size = static_cast<int>(std::min(w, h));
    const float radius = static_cast<float>(size) / 4;
    SpinAngle += 16;

    // Light dots half a turn ahead of the dark ones.
    for (int i = 0; i <= 10; ++i) {
        m_SetCol(250, 250, 250, static_cast<float>(i) / 10);
        const float a = static_cast<float>(SpinAngle + 180 + 16 * i) * kDegToRad;
        m_Oval(w / 2 + std::sin(a) * radius, h / 2 - std::cos(a) * radius, 8, 8);
    }
    m_SetCol(255, 255, 0, 0.8f);
    m_Oval(w / 2, h / 2, 0.3f * static_cast<float>(size), 0.3f * static_cast<float>(size));
    m_SetCol(250, 160, 60, 0.7f);
    m_Rect(0, 0.4f * h, w, 0.2f * h);
    m_ResetDraw();
    m_DrawImg(93, w / 2, 0.48f * h, 0);
    for (int i = 0; i <= 10; ++i) {
        m_SetCol(50, 50, 50, static_cast<float>(i) / 10);
        const float a = static_cast<float>(SpinAngle + 16 * i) * kDegToRad;
        m_Oval(w / 2 + std::sin(a) * radius, h / 2 - std::cos(a) * radius, 8, 8);
    }
    return 0;
}
