// The pen state and the drawing helpers: every call appends one record to the
// per-frame draw list instead of drawing, so all drawing can happen in updates.
#include "game/skitterbat.h"

namespace {
// The last record that fits starts at 37470: a frame holds 2499 records.
constexpr int kLastRecordStart = DrawListSize - 16;

struct InkColour {
    float r, g, b;
};
constexpr InkColour kPalette[9] = {{255, 255, 255}, {255, 80, 80},  {255, 180, 80},
                                   {255, 255, 80},  {80, 255, 80},  {80, 255, 255},
                                   {130, 130, 255}, {255, 80, 255}, {255, 255, 255}};
} // namespace

void bb_Skitterbat_MyApp::AppendRecord(float kind, float x, float y, float w, float h, float frame) {
    if (DrawCount > kLastRecordStart) return;
    float* record = DrawList.Data() + DrawCount;
    record[0] = kind;
    record[1] = x;
    record[2] = y;
    record[3] = Rot;
    record[4] = w;
    record[5] = h;
    record[6] = frame;
    record[7] = ColAlpha;
    record[10] = ColRed;
    record[11] = ColGreen;
    record[12] = ColBlue;
    record[13] = static_cast<float>(DrawBlend);
    DrawCount += DrawRecordSize;
}

int bb_Skitterbat_MyApp::m_ResetDraw() {
    SizeX = 1.0f;
    SizeY = 1.0f;
    Rot = 0;
    ColRed = 255;
    ColGreen = 255;
    ColBlue = 255;
    ColAlpha = 1.0f;
    DrawBlend = 1;
    return 0;
}

int bb_Skitterbat_MyApp::m_CLS2D(float r, float g, float b, float a) {
    if (r > NoValue) {
        ClsRed = r;
        ClsGreen = g;
        ClsBlue = b;
        ClsAlpha = a;
    }
    m_ResetDraw();
    DrawCount = 0;
    return 0;
}

int bb_Skitterbat_MyApp::m_SetSize(float sx, float sy) {
    SizeX = sx;
    SizeY = sy > NoValue ? sy : sx;
    return 0;
}

int bb_Skitterbat_MyApp::m_SetRot(float a) {
    Rot = -a;
    return 0;
}

int bb_Skitterbat_MyApp::m_Alpha(float a) {
    ColAlpha = a;
    return 0;
}

int bb_Skitterbat_MyApp::m_SetCol(float r, float g, float b, float a) {
    ColRed = r;
    ColGreen = g;
    ColBlue = b;
    if (a > NoValue) ColAlpha = a;
    return 0;
}

int bb_Skitterbat_MyApp::m_Ink(int i) {
    if (i < 0 || i > 8) return 0;
    m_SetCol(kPalette[i].r, kPalette[i].g, kPalette[i].b, 1.0f);
    return 0;
}

int bb_Skitterbat_MyApp::m_DrawImg(int image, float x, float y, float frame) {
    AppendRecord(static_cast<float>(image), x, y, SizeX, SizeY, frame);
    return 0;
}

int bb_Skitterbat_MyApp::m_Rect(float x, float y, float w, float h) {
    AppendRecord(DrawKindRect, x, y, w, h, 0);
    return 0;
}

int bb_Skitterbat_MyApp::m_Oval(float x, float y, float rx, float ry) {
    AppendRecord(DrawKindOval, x, y, rx, ry, 0);
    return 0;
}
