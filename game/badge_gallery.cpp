// The badge gallery opened from the menu: a scrolling list of every badge,
// earned ones bright with their icon, and the description while an icon is held.
#include "game/skitterbat.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int BadgeCount = 20;
constexpr int RowHeight = 72;
constexpr float KeyScrollStep = 16;
constexpr float DragFactor = 1.5f;
constexpr float EaseDivisor = 6;
constexpr float SnapDistance = 6;
constexpr int BadgeImage = 80;
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
    GallerySel = -1;

    if (m_PlayKey(0)) GalleryTarget -= KeyScrollStep;
    if (m_PlayKey(8)) GalleryTarget += KeyScrollStep;
    // The first row stops at the top and the last one at the bottom.
    const float lastRowTop = std::min(h - static_cast<float>(RowHeight * BadgeCount), 0.0f);
    GalleryTarget = std::clamp(GalleryTarget, lastRowTop, 0.0f);
    // A drag past either end is pulled back by the clamp of the next update.
    if (MouseDown != 0 && static_cast<float>(MouseX) > w * 0.12f)
        GalleryTarget += DragFactor * static_cast<float>(MouseY - PrevMouseY);

    GalleryScroll -= (GalleryScroll - GalleryTarget) / EaseDivisor;
    if (std::fabs(GalleryScroll - GalleryTarget) <= SnapDistance) GalleryScroll = GalleryTarget;

    // Names stop short of the icons, all at the size the longest one fits.
    float nameSize = 2;
    for (int i = 0; i < BadgeCount; ++i) nameSize = TextSizeToFit(m_BadgeName(i), w * 0.62f - 40, nameSize);
    for (int i = 0; i < BadgeCount; ++i) {
        const float y = static_cast<float>(BoxExtent + RowHeight * i);
        if (y < -(RowHeight - 1) || y >= h + RowHeight) continue;
        const bool earned = Badges[i];
        m_SetSize(nameSize);
        m_Alpha(earned ? 1.0f : 0.5f);
        m_Text(w * 0.18f, y + 16, m_BadgeName(i), 0, 0);
        if (earned) {
            m_SetSize(1);
            if (m_Button(BadgeImage, w * 0.8f, y + 32, i)) GallerySel = i;
        }
    }

    if (GallerySel >= 0) {
        m_SetCol(0, 40, 80, 0.7f);
        m_Rect(-1, h / 2 - 120, w + 2, 320);
        m_SetCol(255, 255, 255, 1);
        m_SetSize(3);
        m_DrawImg(BadgeImage, w / 2, h / 2, static_cast<float>(GallerySel));
        const String detail = m_BadgeDetail(GallerySel);
        m_SetSize(TextSizeToFit(detail, w * 0.72f, 1.5f));
        m_Text(w * 0.15f, h / 2 + 120, detail, 0, 0);
    }
    return 0;
}
