// The main menu: slide-in title art, the best and recent scores of the chosen
// difficulty, the difficulty buttons that start a game, and the sound,
// options, iCade, gallery and credits switches, driven by touch and by the
// play keys (back opens the options).
#include "game/options/motion.h"
#include "game/options/options.h"
#include "game/options/options_screen.h"
#include "game/skitterbat.h"

#include "game/replay/replays.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float PanelWidth = 140;
constexpr int MaxRows = 10;
constexpr int MenuSound = 98;
constexpr int ConfirmSound = 99;
constexpr int IconsImage = 97, ButtonsImage = 95, ICadeImage = 92, CreditsImage = 93;
constexpr int TitleImage = 99, LogoImage = 98;
constexpr int RingFrame = 15, GalleryFrame = 14;
constexpr float SkylineWidth = 512; // the title art's skyline frame at size 2
constexpr float LogoLowestY = 96;
constexpr float LogoHalfWidth = 120; // the lettering and its glow
// How far above the foot the credits disc's art begins.
constexpr float CreditsDiscTop = 100;
// The options' gear, left of the sound switch.
constexpr float GearOffset = 64;
// Under reduced motion the menu fades in over the last updates of its slide.
constexpr int StillFadeUpdates = 12;
} // namespace

// Heading and one right-aligned score per row, from Highscores[first].
String bb_Skitterbat_MyApp::MenuScoreText(const char* heading, const char* single, int first) {
    String text = MenuRows == 1 ? String(single) : String(heading) + MenuRows;
    for (int i = 0; i < MenuRows; ++i) text += String("\\n") + m_rstr(Highscores[first + i], 8, String(" "));
    return text;
}

int bb_Skitterbat_MyApp::m_Menu() {
    const float w = bb_Skitterbat_jscrw;
    const float h = bb_Skitterbat_jscrh;
    // The gallery button may open or close a box part-way through the update.
    auto boxOpen = [this] { return CreditsOpen != 0 || BadgesOpen != 0 || options::ScreenOpen(); };
    const int row = (std::clamp(Difficulty, 1, 3) - 1) * 10;

    m_CLS2D(0, 0, 80, 1);
    if (MenuSlide < 0) MenuSlide = static_cast<int>(static_cast<float>(MenuSlide) + 0.25f);
    MenuPanelWidth = PanelWidth;
    const bool still = options::ReducedMotion();
    if (still) MenuSlide = std::max(MenuSlide, -StillFadeUpdates);
    const float s = still ? 0.0f : static_cast<float>(MenuSlide);

    // The sky and the grid span 768 units: a window wider than that gets them
    // larger, not bare ends.
    const float backdrop = std::max(3.0f, w / 256);
    m_ResetDraw();
    m_SetSize(backdrop);
    m_DrawImg(TitleImage, w / 2, h / 2 + 16 * s, 0);
    // The mushroom skyline is 512 units wide: copies side by side reach both
    // edges of any screen, wherever the slide-in has taken it.
    m_SetSize(2);
    m_Alpha(1);
    float skylineX = 0.4f * w + 20 * s;
    skylineX -= SkylineWidth * std::ceil((skylineX + SkylineWidth / 2) / SkylineWidth);
    for (skylineX += SkylineWidth; skylineX - SkylineWidth / 2 < w; skylineX += SkylineWidth)
        m_DrawImg(TitleImage, skylineX, h / 2, 2);
    m_SetSize(backdrop);
    m_Alpha(1);
    m_DrawImg(TitleImage, w / 2, h / 2 - 24 * s, 1);
    // On a low screen the title keeps clear of the sound switch above it, and
    // on a narrow one it shrinks into the room left of the score panel.
    float logoX = 0.4f * w, logoSize = 1;
    if (logoX + LogoHalfWidth > w - PanelWidth) {
        logoX = (w - PanelWidth) / 2;
        logoSize = std::min(1.0f, logoX / LogoHalfWidth);
    }
    m_SetSize(logoSize);
    m_DrawImg(LogoImage, logoX, std::max(0.2f * h, LogoLowestY) + 12 * s, 0);

    const float panelX = w - MenuPanelWidth - 4 * s;
    m_SetCol(0, 0, 0, 0.4f);
    m_Rect(panelX, 0, MenuPanelWidth, h);

    m_ResetDraw();
    m_SetSize(2);
    m_SetCol(50, 250, 50, 1);
    // While a box is open the switch only shows, as the other controls do: the
    // gallery lies over it on a narrow screen, and a tap there is the gallery's.
    if (m_Button(IconsImage, static_cast<float>(static_cast<int>(w / 2)), 32 + 4 * s,
                 Settings[5] != 0 ? 4 : 5) &&
        NeedRelease == 0 && !boxOpen()) {
        Settings[5] = Settings[5] == 0 ? 1 : 0;
        SaveWanted = 1;
        NeedRelease = 1;
        m_PlaySFX(MenuSound, 1, 0.5f, 0);
    }

    m_SetSize(2);
    m_SetCol(120, 200, 255, 1);
    if (m_Button(IconsImage, static_cast<float>(static_cast<int>(w / 2 - GearOffset)), 32 + 4 * s,
                 options::kGearFrame) &&
        NeedRelease == 0 && !boxOpen()) {
        options::OpenScreen(*this, false);
    }

    m_SetCol(255, 255, 255, 0.75f);
    m_SetSize(1);
    if (m_Button(ButtonsImage, 32, 32 + 4 * s, GalleryFrame) && NeedRelease == 0) {
        NeedRelease = 1;
        m_PlaySFX(ConfirmSound, 1, 1, 0);
        BadgesOpen = 1 - BadgesOpen;
        if (BadgesOpen == 1) {
            GalleryScroll = GalleryTarget = 0;
            GallerySel = -1;
            GalleryTap = {};
        }
    }

    m_SetCol(255, 200, 100, 1);
    m_SetSize(1.5f);
    MenuLineHeight = static_cast<int>(static_cast<float>(ImageSizes[3 * FontImage + 1]) * 1.5f);
    // The recent list, heading included, ends above the credits disc at the
    // panel's foot, which would hide its last rows.
    const int available = static_cast<int>(h - CreditsDiscTop - h / 2) - MenuLineHeight;
    // Without a font there is no line height to divide by; show the full list.
    MenuRows = MenuLineHeight > 0 ? std::clamp(available / MenuLineHeight, 1, MaxRows) : MaxRows;
    if (!boxOpen()) m_Text(panelX + 20, 60, MenuScoreText("Top ", "Highscore", row), 0, 0);
    m_SetCol(200, 255, 100, 1);
    m_SetSize(1.5f);
    if (!boxOpen()) m_Text(panelX + 20, h / 2, MenuScoreText("Last ", "Last", 30 + row), 0, 0);
    // The score rows lead to their games; while one has the focus, the keys are its.
    const bool scoresTookKeys = replays::ScorePanel(*this, panelX, 60, h / 2);

    m_ResetDraw();
    m_SetSize(1.5f);
    m_Alpha(1);
    for (int d = 1; d <= 3; ++d) {
        float x = 0, y = 0;
        if (Landscape == 0) {
            const float xs[3] = {0.3f * w - 8 * s, 0.3f * w, 0.3f * w + 8 * s};
            const float ys[3] = {0.45f * h, 0.65f * h - 12 * s, 0.85f * h};
            x = xs[d - 1];
            y = ys[d - 1];
        } else {
            const float xs[3] = {0.2f * w, 0.4f * w, 0.6f * w};
            const float ys[3] = {0.7f * h - 8 * s, 0.7f * h - 12 * s, 0.7f * h - 10 * s};
            x = xs[d - 1];
            y = ys[d - 1];
        }
        if (m_Button(ButtonsImage, x, y, d - 1) && NeedRelease == 0 && !boxOpen()) {
            Difficulty = d;
            Mode = ModeStartGame;
            NeedRelease = 1;
            ButtonLock = 1;
            m_PlaySFX(MenuSound, 1, 0.5f, 0);
        }
        if (Difficulty == d) {
            m_Alpha(0.75f);
            m_DrawImg(ButtonsImage, x, y, RingFrame);
            m_Alpha(1);
        }
    }

    // One step per press: the update releases ButtonLock only once every play key is up.
    m_ResetDraw();
    const bool keysFree = ButtonLock == 0 && !boxOpen() && !scoresTookKeys;
    if (keysFree && (m_PlayKey(0) || m_PlayKey(3)) && Difficulty > 1) {
        --Difficulty;
        ButtonLock = 1;
        m_PlaySFX(MenuSound, 0.8f, 0.5f, 0);
    }
    if (keysFree && ButtonLock == 0 && (m_PlayKey(8) || m_PlayKey(5)) && Difficulty < 3) {
        ++Difficulty;
        ButtonLock = 1;
        m_PlaySFX(MenuSound, 1.2f, 0.5f, 0);
    }
    if (keysFree && m_PlayKey(99)) options::OpenScreen(*this, false);
    if (keysFree && ButtonLock == 0) {
        bool start = false;
        for (int key = 10; key <= 17 && !start; ++key) start = m_PlayKey(key);
        if (start) {
            Mode = ModeStartGame;
            NeedRelease = 1;
            ButtonLock = 1;
            m_PlaySFX(MenuSound, 1, 0.5f, 0);
        }
    }

    m_ResetDraw();
    if (m_Button(ICadeImage, w - 38, 38 + 4 * s, bb_Skitterbat_iCadeControls) && !boxOpen() &&
        NeedRelease == 0) {
        NeedRelease = 1;
        m_iCade(bb_Skitterbat_iCadeControls == 0 ? 1 : 0);
        m_PlaySFX(ConfirmSound, 1, 1, 0);
    }

    m_SetSize(0.5f);
    if (m_Button(CreditsImage, w - 70, h - 40 - 4 * s, 0) && NeedRelease == 0 && !boxOpen()) {
        NeedRelease = 1;
        m_PlaySFX(ConfirmSound, 1, 1, 0);
        CreditsOpen = 1;
    }
    if (still && MenuSlide < 0)
        options::FadeSince(*this, 0, 1 + static_cast<float>(MenuSlide) / StillFadeUpdates);
    return 0;
}
