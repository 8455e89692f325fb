// The pause panel over a running round: it slides in and out (or fades, under
// reduced motion), offers Resume, Quit, the sound switch and the options by
// touch or keys, and the tilt-sensitivity bar.
#include "game/options/motion.h"
#include "game/options/options_screen.h"
#include "game/skitterbat.h"

#include <cstdlib>

namespace {
// The panel's bars and body, and where Quit and the sound switch sit on its
// top corners, relative to the panel's centre.
struct PausePanel {
    float barHalfWidth, topBarY, bottomBarY;
    float bodyHalfWidth, bodyTop, bodyHeight;
    float cornerHalfWidth, cornerY;
};
constexpr PausePanel kLandscapePanel = {128.0f, -64.0f, 56.0f, 140.0f, -52.0f, 104.0f, 140.0f, -64.0f};
constexpr PausePanel kPortraitPanel = {96.0f, -92.0f, 84.0f, 128.0f, -80.0f, 160.0f, 96.0f, -96.0f};
} // namespace

void bb_Skitterbat_MyApp::ResumeFromPause(bool byKey) {
    // Paused stays 1 until the panel has slid out.
    PauseSlide = -1;
    if (byKey) {
        ButtonLock = 1;
    } else {
        NeedRelease = 1;
    }
    m_PlaySFX(98, 1.0f, 0.5f, 0.0f);
}

void bb_Skitterbat_MyApp::QuitFromPause(bool byKey) {
    Paused = 0;
    PauseSlide = -1;
    PauseSlideY = -64;
    GameEnded = 1;
    NeedRelease = 1;
    if (byKey) ButtonLock = 1;
    m_PlaySFX(98, 0.5f, 0.5f, 0.0f);
}

void bb_Skitterbat_MyApp::AdvanceSoundSetting() {
    Settings[5] = 1 - Settings[5];
    if (Settings[5] < 0 || Settings[5] > 1) Settings[5] = 0;
    SaveWanted = 1;
}

void bb_Skitterbat_MyApp::MovePauseSelection(int selection, float pitch) {
    PauseSelection = selection;
    ButtonLock = 1;
    m_PlaySFX(98, pitch, 0.5f, 0.0f);
}

void bb_Skitterbat_MyApp::DrawFocusRing(float x, float y) {
    m_SetSize(2.5f);
    m_SetCol(255.0f, 255.0f, 100.0f, 1.0f);
    m_DrawImg(97, x, y, 6.0f);
}

int bb_Skitterbat_MyApp::m_PauseMenu() {
    const float w = bb_Skitterbat_jscrw;
    const float h = bb_Skitterbat_jscrh;
    m_ResetDraw();
    m_SetCol(0.0f, 0.0f, 0.0f, static_cast<float>(std::abs(PauseSlideY)) / (0.8f * h));
    m_Rect(0.0f, 0.0f, w, h);

    if (PauseSlide == 1 && static_cast<float>(PauseSlideY) < h / 2.0f) PauseSlideY += 24;
    if (PauseSlide == -1) {
        if (PauseSlideY < -63) {
            Paused = 0;
        } else {
            PauseSlideY -= 24;
            if (PauseSlideY < -32) Paused = 0;
        }
    }

    m_ResetDraw();
    const float x = w / 2.0f;
    const float y = static_cast<float>(PauseSlideY);
    // Presses land where the panel slides; under reduced motion it is drawn
    // where it rests, fading, so a game plays the same either way.
    const options::PanelPlace place = options::PausePanelPlace(y, PauseSlide, h);
    const float drawnY = place.y;
    const int panelStart = DrawCount;
    const PausePanel& panel = Landscape != 0 ? kLandscapePanel : kPortraitPanel;
    m_SetCol(255.0f, 255.0f, 10.0f, 0.6f);
    m_Rect(x - panel.barHalfWidth, drawnY + panel.topBarY, 2.0f * panel.barHalfWidth, 8.0f);
    m_SetCol(255.0f, 150.0f, 10.0f, 0.7f);
    m_Rect(x - panel.bodyHalfWidth, drawnY + panel.bodyTop, 2.0f * panel.bodyHalfWidth, panel.bodyHeight);
    m_SetCol(10.0f, 150.0f, 255.0f, 0.6f);
    m_Rect(x - panel.barHalfWidth, drawnY + panel.bottomBarY, 2.0f * panel.barHalfWidth, 8.0f);
    const float quitX = static_cast<float>(static_cast<int>(x - panel.cornerHalfWidth));
    const float soundX = static_cast<float>(static_cast<int>(x + panel.cornerHalfWidth));
    const float quitY = y + panel.cornerY;
    const float soundY = quitY;
    // The options sit at the corner below the sound switch.
    const float optionsY = y - panel.cornerY;
    auto button = [&](float bx, float by, int frame) {
        m_DrawImg(97, bx, by - y + drawnY, static_cast<float>(frame));
        return ButtonHit(97, bx, by) != 0;
    };
    auto ring = [&](float rx, float ry) { DrawFocusRing(rx, ry - y + drawnY); };

    // Resume.
    m_SetSize(2.0f);
    m_SetCol(50.0f, 50.0f, 250.0f, 1.0f);
    if (button(x, y, 3) && NeedRelease == 0) ResumeFromPause(false);
    if (PauseSelection == 0) {
        ring(x, y);
        if (m_PlayKey(10) && ButtonLock == 0) ResumeFromPause(true);
        if ((m_PlayKey(3) || m_PlayKey(0)) && ButtonLock == 0) MovePauseSelection(-1, 0.8f);
        if (m_PlayKey(5) && ButtonLock == 0) MovePauseSelection(1, 1.2f);
        if (m_PlayKey(8) && ButtonLock == 0) MovePauseSelection(options::kPauseOptionsItem, 1.2f);
    }

    // Quit.
    m_SetSize(2.0f);
    m_SetCol(255.0f, 50.0f, 50.0f, 1.0f);
    if (button(quitX, quitY, 1) && NeedRelease == 0) QuitFromPause(false);
    if (PauseSelection == -1) {
        ring(quitX, quitY);
        if (m_PlayKey(10) && ButtonLock == 0) QuitFromPause(true);
        if ((m_PlayKey(5) || m_PlayKey(8)) && ButtonLock == 0) MovePauseSelection(0, 0.8f);
    }

    // Sound switch.
    m_SetSize(2.0f);
    m_SetCol(50.0f, 250.0f, 50.0f, 1.0f);
    const int soundFrame = Settings[5] == 0 ? 5 : 4;
    if (button(soundX, soundY, soundFrame) && NeedRelease == 0) {
        AdvanceSoundSetting();
        NeedRelease = 1;
        m_PlaySFX(98, 1.0f, 0.5f, 0.0f);
    }
    if (PauseSelection == 1) {
        ring(soundX, soundY);
        if (m_PlayKey(10) && ButtonLock == 0) {
            AdvanceSoundSetting();
            ButtonLock = 1;
            m_PlaySFX(98, 1.0f, 0.5f, 0.0f);
        }
        if ((m_PlayKey(3) || m_PlayKey(8)) && ButtonLock == 0) MovePauseSelection(0, 0.8f);
    }

    // Options.
    m_SetSize(2.0f);
    m_SetCol(120.0f, 200.0f, 255.0f, 1.0f);
    if (button(soundX, optionsY, options::kGearFrame) && NeedRelease == 0) options::OpenScreen(*this, true);
    if (PauseSelection == options::kPauseOptionsItem) {
        ring(soundX, optionsY);
        if (m_PlayKey(10) && ButtonLock == 0) options::OpenScreen(*this, true);
        if ((m_PlayKey(0) || m_PlayKey(3)) && ButtonLock == 0) MovePauseSelection(0, 0.8f);
    }
    options::FadeSince(*this, panelStart, place.alpha);

    // Tilt sensitivity, a bar graph of eight boxes at the bottom left.
    m_ResetDraw();
    for (int k = 1; k <= 8; ++k) {
        if (static_cast<float>(k) <= TiltSensitivity) {
            m_SetCol(100.0f, 255.0f, 100.0f, 0.6f);
        } else {
            m_SetCol(0.0f, 80.0f, 0.0f, 0.6f);
        }
        if (m_Touch(static_cast<float>((k + 1) * 32), h - 64.0f, 30.0f, 30.0f)) {
            TiltSensitivity = static_cast<float>(k);
            // A finger resting on the box it chose changes nothing more.
            if (Settings[2] != k) SaveWanted = 1;
            Settings[2] = k;
        }
    }

    if (m_PlayKey(99) && ButtonLock == 0) {
        ButtonLock = 1;
        PauseSlide = -1;
        m_PlaySFX(98, 1.0f, 0.5f, 0.0f);
    }
    return 0;
}
