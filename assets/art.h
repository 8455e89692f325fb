// Frame painters of every sheet, and the shared neon palette they use.
#pragma once

#include "shapes.h"

#include <vector>

namespace palette {
inline const Color kCyan = rgb(70, 240, 255);
inline const Color kPink = rgb(255, 60, 190);
inline const Color kYellow = rgb(255, 236, 70);
inline const Color kOrange = rgb(255, 150, 40);
inline const Color kGreen = rgb(110, 255, 120);
inline const Color kBlue = rgb(80, 110, 255);
inline const Color kPurple = rgb(150, 70, 255);
inline const Color kNavy = rgb(12, 10, 60);
inline const Color kInk = rgb(14, 10, 34); // outlines
inline const Color kWhite = rgb(255, 255, 255);
// The game's pod colours 1..8 (the palette of m_Ink).
Color pod(int colour);
} // namespace palette

void drawGfx(const View& v, int frame);
void drawParts(const View& v, int frame);
void drawBackdrop(const View& v, int frame);
void drawBadge(const View& v, int frame);
void drawTextFont(const View& v, int frame);
void drawRuneFont(const View& v, int frame);
void drawIcon(const View& v, int frame);
void drawButton(const View& v, int frame);
void drawICade(const View& v, int frame);
void drawDpad(const View& v, int frame);
void drawMakerLogo(const View& v, int frame);
void drawTitle(const View& v, int frame);
void drawMenuArt(const View& v, int frame);
void drawAppIcon(const View& v, int frame);
void drawMaskableIcon(const View& v, int frame);

// Shared creatures and props: a centipede along a path (head first), a
// spotted mushroom standing on base, size its height.
void centipede(const View& v, const std::vector<V2>& path, float radius, Color body, Color accent);
void mushroomProp(const View& v, V2 base, float size, Color cap, Color stem, float rim);
