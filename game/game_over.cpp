// Game over: the overlay that builds up at the end of play and fades out over
// the menu, and the recording of the finished game in the score lists.
#include "game/options/motion.h"
#include "game/options/options.h"
#include "game/skitterbat.h"

#include <algorithm>

namespace {
constexpr int OverTimerEnd = 90;  // updates of build-up before returning to the menu
constexpr int OverTimerFade = 73; // where the fade over the menu starts
constexpr float BarRatio = 0.45f; // bars and words stop at this share of the height
constexpr float StillFade = 15;   // updates the overlay fades in over under reduced motion
} // namespace

int bb_Skitterbat_MyApp::m_GameOver() {
    const float w = bb_Skitterbat_jscrw;
    const float h = bb_Skitterbat_jscrh;
    if (OverTimer > 0) {
        m_SetCol(0, 0, 0, std::min(static_cast<float>(OverTimer) / 40.0f, 0.7f));
        m_Rect(-1, -1, w + 2, h + 2);
        BoxExtent = static_cast<int>(std::min(static_cast<float>(OverTimer) * 12.0f, h * BarRatio));
        // Under reduced motion the bars and words stand where they end and fade in.
        const bool still = options::ReducedMotion();
        if (still) BoxExtent = static_cast<int>(h * BarRatio);
        const int from = DrawCount;

        m_ResetDraw();
        m_SetCol(255, 255, 0, 0.5f);
        m_Rect(-1, h * BarRatio - 8, static_cast<float>(2 * BoxExtent), 16);
        m_SetCol(255, 128, 0, 0.5f);
        m_Rect(w - static_cast<float>(2 * BoxExtent), h * 0.55f - 8, static_cast<float>(2 * BoxExtent + 1),
               16);

        m_ResetDraw();
        m_SetSize(4);
        m_SetCol(255, 180, 180, 1);
        m_Text(w * 0.35f, static_cast<float>(BoxExtent), String("GAME"), 1, 1);
        m_Text(w * 0.65f, h - static_cast<float>(BoxExtent), String("OVER"), 1, 1);

        const String place = m_MyNth();
        if (LoopI > 0) {
            const float y = h - static_cast<float>(BoxExtent) / 1.5f;
            m_SetSize(1);
            m_SetCol(0, 125, 255, 0.5f);
            m_Rect(w * 0.35f, y - 16, w * 0.3f, 32);
            m_SetSize(2);
            m_SetCol(100, 255, 100, 1);
            m_Text(w * 0.5f, y, String("New Highscore\\n           ") + place, 0.5f, 2);
        }
        if (still) options::FadeSince(*this, from, std::min(static_cast<float>(OverTimer) / StillFade, 1.0f));
    }

    if (Mode == ModePlaying) {
        ++OverTimer;
        if (OverTimer >= OverTimerEnd) {
            Mode = ModeReturnToMenu;
            OverTimer = OverTimerFade;
        }
    } else if (Mode < ModePlaying) {
        OverTimer = std::max(OverTimer - 2, 0);
    }
    return 0;
}

int bb_Skitterbat_MyApp::m_LoadMenu() {
    ScoreRow = (std::clamp(Difficulty, 1, 3) - 1) * 10;

    // A new score goes after every equal one: it has to beat an entry to take its place.
    ScorePlace = -1;
    for (LoopI = 0; LoopI < 10; ++LoopI)
        if (ScorePlace < 0 && Score > Highscores[ScoreRow + LoopI]) ScorePlace = LoopI;
    if (ScorePlace >= 0) {
        for (int k = 9; k > ScorePlace; --k) Highscores[ScoreRow + k] = Highscores[ScoreRow + k - 1];
        Highscores[ScoreRow + ScorePlace] = Score;
    }

    // Every finished game heads the recent list.
    ScoreRow += 30;
    for (int k = 9; k > 0; --k) Highscores[ScoreRow + k] = Highscores[ScoreRow + k - 1];
    Highscores[ScoreRow] = Score;

    m_Save();
    return 0;
}
