// Bitmap-font text as one image record per glyph, the pen size a text needs
// to fit a width, and the two string helpers the screens use for numbers and
// places.
#include "game/skitterbat.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float kDegToRad = 0.017453292f;
constexpr int kBackslash = 92;
} // namespace

int bb_Skitterbat_MyApp::m_Text(float x, float y, const String& text, float alignX, float alignY) {
    const float advance = static_cast<float>(ImageSizes[3 * FontImage]) * SizeX;
    const float lineHeight = static_cast<float>(ImageSizes[3 * FontImage + 1]) * SizeY;
    const int length = text.Length();

    // Text runs along (ux, uy) and lines stack along (vx, vy); Rot holds the
    // negated pen angle, so both turn with the pen.
    float ux = 1, uy = 0, vx = 0, vy = 1;
    if (Rot != 0) {
        const float r = Rot * kDegToRad;
        ux = std::cos(r);
        uy = -std::sin(r);
        vx = std::sin(r);
        vy = std::cos(r);
    }
    const float along = static_cast<float>(length - 1) * advance * alignX / 2;
    const float down = lineHeight * (1 - alignY) / 2;
    const float x0 = x - along * ux + down * vx;
    const float y0 = y - along * uy + down * vy;

    float cx = x0, cy = y0;
    int lines = 0;
    for (int i = 0; i < length; ++i) {
        const int code = text[i];
        if (code == kBackslash && i + 1 < length && text[i + 1] == 'n') {
            ++lines;
            cx = x0 + static_cast<float>(lines) * lineHeight * vx;
            cy = y0 + static_cast<float>(lines) * lineHeight * vy;
            ++i;
            continue;
        }
        if (code == 0) continue;
        // A backslash not starting a line break falls in here as its own glyph.
        if (code >= 33 && code <= 159) m_DrawImg(FontImage, cx, cy, static_cast<float>(code - 32));
        cx += advance * ux;
        cy += advance * uy;
    }
    return 0;
}

String bb_Skitterbat_MyApp::m_rstr(int value, int width, const String& pad) {
    String s = pad;
    for (LoopI = 1; LoopI <= width; ++LoopI) s += pad;
    s += String(value);
    // Slice from -width keeps the last width units, and all of s for width 0.
    return s.Slice(-width);
}

String bb_Skitterbat_MyApp::m_MyNth() {
    static const char* const kPlaces[11] = {"",    "1st!", "2nd", "3rd", "4th", "5th",
                                            "6th", "7th",  "8th", "9th", "10th"};
    LoopI = 0;
    const int first = (Difficulty - 1) * 10;
    // A difficulty outside the table has no list to place the score in.
    if (first < 0 || first + 10 > Highscores.Length()) return String(kPlaces[0]);
    if (Mode == ModeMenu) {
        // Back in the menu the score is in the list already, where m_LoadMenu put it.
        if (ScorePlace >= 0 && ScorePlace < 10) LoopI = ScorePlace + 1;
    } else {
        // The place m_LoadMenu will give: after every equal entry, so a score
        // that only ties the tenth (or an empty slot's 0) takes none.
        for (LoopJ = 1; LoopJ <= 10; ++LoopJ) {
            if (Score > Highscores[first + LoopJ - 1]) {
                LoopI = LoopJ;
                break;
            }
        }
    }
    LoopJ = 10;
    return String(kPlaces[LoopI]);
}

float bb_Skitterbat_MyApp::TextSizeToFit(const String& text, float width, float size) const {
    const float advance = static_cast<float>(ImageSizes[3 * FontImage]);
    int longest = 0, line = 0;
    for (int i = 0; i < text.Length(); ++i) {
        if (text[i] == kBackslash && i + 1 < text.Length() && text[i + 1] == 'n') {
            line = 0;
            ++i;
            continue;
        }
        longest = std::max(longest, ++line);
    }
    if (advance <= 0 || longest == 0) return size;
    return std::min(size, width / (advance * static_cast<float>(longest)));
}
