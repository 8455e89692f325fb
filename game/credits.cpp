// The credits box over the main menu: who made the game and with what; the
// first new press anywhere closes it.
#include "game/skitterbat.h"

namespace {
struct CreditLine {
    const char* text;
    int gapAfter;
};
constexpr CreditLine Credits[] = {
    {"A Game By", 20},     {"The Skitterbat Team", 20},  {"github.com/skitterbat/skitterbat", 40},
    {"Created using", 20}, {"The Cobalt Framework", 20}, {"github.com/skitterbat/cobalt", 40},
};
constexpr int CloseSound = 99;
} // namespace

int bb_Skitterbat_MyApp::m_CreditBox() {
    const float w = bb_Skitterbat_jscrw;
    const float h = bb_Skitterbat_jscrh;

    m_ResetDraw();
    m_SetCol(255, 125, 0, 0.8f);
    m_Rect(w * 0.1f, h * 0.2f, w * 0.8f, h * 0.6f);
    m_SetCol(100, 0, 0, 0.8f);
    m_Rect(w * 0.12f, h * 0.22f, w * 0.76f, h * 0.56f);

    m_SetCol(255, 255, 255, 1);
    BoxExtent = 0;
    // The longest line, an address, fits the box on a narrow screen too.
    float size = 1.5f;
    for (const CreditLine& line : Credits) size = TextSizeToFit(String(line.text), w * 0.72f, size);
    m_SetSize(size);
    for (const CreditLine& line : Credits) {
        m_Text(w * 0.5f, h * 0.24f + static_cast<float>(BoxExtent), String(line.text), 1, 0);
        BoxExtent += line.gapAfter;
    }

    // A press still held from before the box opened keeps NeedRelease set.
    if (PointerDown > 0 && NeedRelease == 0) {
        NeedRelease = 1;
        CreditsOpen = 0;
        m_PlaySFX(CloseSound, 1, 1, 0);
    }
    return 0;
}
