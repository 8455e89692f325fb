// The badge gallery opened from the menu: a scrolling list of every badge under
// a title bar with a close button, earned ones bright with their icon. A tap on
// a row shows how that badge is earned until the next tap elsewhere; a tap
// beside the panel closes the gallery.
#include "game/options/pod_marks.h"
#include "game/skitterbat.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
constexpr int BadgeCount = 20;
constexpr int RowHeight = 72;
constexpr float TitleHeight = 56; // the title bar the rows scroll under
constexpr float KeyScrollStep = 16;
constexpr float DragFactor = 1.5f;
constexpr float EaseDivisor = 6;
constexpr float SnapDistance = 6;
// A press that moves less than this before it lifts is a tap, not a scroll.
constexpr float TapTravel = 8;
constexpr int BadgeImage = 80;
constexpr int IconsImage = 97, CloseFrame = 1;
// Half again the icon's 32 units: a 48-unit target a finger finds at every shape.
constexpr float CloseSize = 1.5f;
constexpr int CloseSound = 99;
// Unearned names stay dimmer than earned ones but readable on the panel (over 5:1).
constexpr float UnearnedAlpha = 0.7f;
// The description band, from the middle of the screen.
constexpr float BandTop = -120, BandHeight = 320;
} // namespace

int bb_Skitterbat_MyApp::m_BadgesBox() {
    const float w = bb_Skitterbat_jscrw;
    const float h = bb_Skitterbat_jscrh;

    m_ResetDraw();
    m_SetCol(255, 125, 0, 0.8f);
    m_Rect(w * 0.1f, -1, w * 0.8f, h + 2);
    m_SetCol(100, 0, 0, 0.8f);
    m_Rect(w * 0.12f, -1, w * 0.76f, h + 2);
    m_SetCol(255, 255, 255, 1);

    // Rows use the scroll from before this update's easing. A drag can take
    // the scroll far past either end for an update, so the conversion is
    // bounded to stay a defined int.
    BoxExtent = static_cast<int>(std::max(GalleryScroll, -1.0e9f));

    if (m_PlayKey(0)) GalleryTarget -= KeyScrollStep;
    if (m_PlayKey(8)) GalleryTarget += KeyScrollStep;
    // The first row stops under the title bar and the last one at the bottom.
    const float lastRowTop = std::min(h - TitleHeight - static_cast<float>(RowHeight * BadgeCount), 0.0f);
    GalleryTarget = std::clamp(GalleryTarget, lastRowTop, 0.0f);
    // A drag past either end is pulled back by the clamp of the next update.
    if (MouseDown != 0 && static_cast<float>(MouseX) > w * 0.12f)
        GalleryTarget += DragFactor * static_cast<float>(MouseY - PrevMouseY);

    GalleryScroll -= (GalleryScroll - GalleryTarget) / EaseDivisor;
    if (std::fabs(GalleryScroll - GalleryTarget) <= SnapDistance) GalleryScroll = GalleryTarget;

    // Names stop short of the icons, all at the size the longest one fits.
    float nameSize = 2;
    for (int i = 0; i < BadgeCount; ++i) nameSize = TextSizeToFit(m_BadgeName(i), w * 0.62f - 40, nameSize);
    const float firstRowTop = TitleHeight + static_cast<float>(BoxExtent);
    for (int i = 0; i < BadgeCount; ++i) {
        const float y = firstRowTop + static_cast<float>(RowHeight * i);
        if (y <= TitleHeight - static_cast<float>(RowHeight) || y >= h + RowHeight) continue;
        const bool earned = Badges[i];
        m_SetSize(nameSize);
        m_Alpha(earned ? 1.0f : UnearnedAlpha);
        m_Text(w * 0.18f, y + 16, m_BadgeName(i), 0, 0);
        // An unearned badge shows the shape of its icon still to be won.
        m_SetSize(1);
        if (!earned) m_SetCol(0, 0, 0, 0.45f);
        m_DrawImg(BadgeImage, w * 0.8f, y + 32, static_cast<float>(i));
        m_SetCol(255, 255, 255, 1);
        options::DrawBadgeMark(*this, i, w * 0.8f, y + 32, 1);
    }

    // The title bar stays put over the rows scrolling under it.
    m_SetCol(70, 0, 0, 1);
    m_Rect(w * 0.12f, -1, w * 0.76f, TitleHeight + 1);
    m_SetCol(255, 125, 0, 0.8f);
    m_Rect(w * 0.12f, TitleHeight - 3, w * 0.76f, 3);
    m_SetCol(255, 255, 255, 1);
    m_SetSize(2);
    m_Text(w * 0.18f, 18, String("Badges"), 0, 0);
    m_SetSize(CloseSize);
    m_SetCol(255, 50, 50, 1);
    const bool closeHeld = m_Button(IconsImage, w * 0.88f - 28, 28, CloseFrame) != 0;

    const bool described = GallerySel >= 0 && GallerySel < BadgeCount;
    const float bandTop = h / 2 + BandTop;
    if (described) {
        const bool earned = Badges[GallerySel];
        m_SetCol(0, 40, 80, 0.7f);
        m_Rect(-1, bandTop, w + 2, BandHeight);
        m_SetSize(3);
        if (earned) {
            m_SetCol(255, 255, 255, 1);
        } else {
            m_SetCol(0, 0, 0, 0.35f);
        }
        m_DrawImg(BadgeImage, w / 2, h / 2, static_cast<float>(GallerySel));
        if (!earned) {
            m_SetCol(255, 200, 100, 1);
            m_SetSize(1.5f);
            m_Text(w / 2, h / 2 - 102, String("Not yet earned"), 1, 1);
        }
        m_SetCol(255, 255, 255, 1);
        options::DrawBadgeMark(*this, GallerySel, w / 2, h / 2, 3);
        const String detail = m_BadgeDetail(GallerySel);
        m_SetSize(TextSizeToFit(detail, w * 0.72f, 1.5f));
        m_Text(w * 0.15f, h / 2 + 120, detail, 0, 0);
    }

    // Presses act once each; the gallery closes as soon as one lands on the
    // close button or beside the panel.
    if (PointerDown != 0 && NeedRelease == 0) {
        NeedRelease = 1;
        const float x = static_cast<float>(MouseX), y = static_cast<float>(MouseY);
        if (closeHeld || x < w * 0.1f || x > w * 0.9f) {
            BadgesOpen = 0;
            GalleryTap.pending = false;
            m_PlaySFX(CloseSound, 1, 1, 0);
            return 0;
        }
        int row = static_cast<int>(std::floor((y - firstRowTop) / static_cast<float>(RowHeight)));
        const bool underBand = described && y >= bandTop && y < bandTop + BandHeight;
        if (y < TitleHeight || underBand || row < 0 || row >= BadgeCount) row = -1;
        GalleryTap = {true, row, 0};
    } else if (GalleryTap.pending && PointerDown != 0) {
        GalleryTap.travel +=
            static_cast<float>(std::abs(MouseX - PrevMouseX) + std::abs(MouseY - PrevMouseY));
    } else if (GalleryTap.pending) {
        // A tap on a row shows its badge; a tap anywhere else lets the shown one go.
        if (GalleryTap.travel < TapTravel) GallerySel = GalleryTap.row;
        GalleryTap.pending = false;
    }
    return 0;
}
