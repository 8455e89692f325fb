// The virtual screen: fits the game's units to the window at every render
// (starting the loader when the window needs another art level, or taking up
// art that arrives while the game runs) and replays the draw list onto it in
// window pixels.
#include "game/skitterbat.h"

#include "game/late_assets.h"
#include "game/replay/replays.h"
#include "graphics/image.h"

namespace {
// The layouts were drawn for 640 x 480 and hold together down to these: a
// window narrower than 2:3 gets a taller virtual screen rather than a
// narrower one, and one wider than 16:9 a wider one rather than a lower one.
constexpr float kNarrowestWidth = 320;
constexpr float kLowestHeight = 360;
} // namespace

void bb_Skitterbat_MyApp::FitVirtualScreen(int width, int height) {
    // Between two updates: what has arrived of the data that comes late.
    late_assets::Step(*this);
    if (width != DeviceW || height != DeviceH) {
        // Only another art level needs the art loaded again; where art
        // arrives while the game runs it is swapped in instead, and play goes on.
        const bool reload = !late_assets::Active() && ArtLevelFor(width, height) != ImageScale;
        replays::WindowFitted(*this, width, height, reload);
        FitWindow(width, height, reload);
        return;
    }
    FitWindow(width, height, false);
}

void bb_Skitterbat_MyApp::FitWindow(int width, int height, bool reload) {
    DeviceW = width;
    DeviceH = height;
    if (reload) {
        // The reload keeps a game it interrupts.
        LoaderStage = 1;
        if (Mode > 9 || Mode == ModeReturnToMenu) ModeBehindReload = Mode;
    }
    const float oldW = bb_Skitterbat_jscrw;
    const float oldH = bb_Skitterbat_jscrh;
    const float sx = static_cast<float>(width) / bb_Skitterbat_rawscrw;
    const float sy = static_cast<float>(height) / bb_Skitterbat_rawscrh;
    float s;
    if (sy > sx) {
        ScaleAxis = 2;
        s = sy;
    } else {
        ScaleAxis = 1;
        s = sx;
    }
    if (static_cast<float>(width) / s < kNarrowestWidth) {
        ScaleAxis = 1;
        s = static_cast<float>(width) / kNarrowestWidth;
    } else if (static_cast<float>(height) / s < kLowestHeight) {
        ScaleAxis = 2;
        s = static_cast<float>(height) / kLowestHeight;
    }
    ScreenScale = s;
    ScreenScale2 = s;
    bb_Skitterbat_jscrw = static_cast<float>(width) / s;
    bb_Skitterbat_jscrh = static_cast<float>(height) / s;
    Landscape = bb_Skitterbat_jscrw < bb_Skitterbat_jscrh ? 0 : 1;
    const bool gameOnScreen = ModeBehindReload != 0 || Mode == ModePlaying;
    if (gameOnScreen && (bb_Skitterbat_jscrw != oldW || bb_Skitterbat_jscrh != oldH))
        FitGameToScreen(oldW, oldH);
}

void bb_Skitterbat_MyApp::ReplayDrawList() {
    DrawRecords(DrawList.Data(), DrawCount, ScreenScale, 0, 0);
}

void bb_Skitterbat_MyApp::DrawRecords(const float* list, int count, float s, float originX, float originY) {
    for (LoopI = 0; LoopI < count - 14; LoopI += DrawRecordSize) {
        const float* record = list + LoopI;
        // Every record draws with alpha blending; setting it only when it
        // differs keeps the renderer's batch intact.
        if (bb_graphics_context->m_blend != 0) bb_graphics_SetBlend(0);
        bb_graphics_SetAlpha(record[7]);
        bb_graphics_SetColor(record[10], record[11], record[12]);
        const float kind = record[0];
        const float x = originX + record[1] * s, y = originY + record[2] * s;
        if (kind == DrawKindRect) {
            bb_graphics_context->m_Validate();
            bb_graphics_renderDevice->DrawRect(x, y, record[4] * s, record[5] * s);
        } else if (kind == DrawKindOval) {
            bb_graphics_context->m_Validate();
            const float rx = record[4] * s, ry = record[5] * s;
            bb_graphics_renderDevice->DrawOval(x - rx, y - ry, 2 * rx, 2 * ry);
        } else if (kind > -1) {
            const int n = static_cast<int>(kind);
            if (n >= Images.Length()) continue;
            bb_graphics_Image* image = Images[n].get();
            if (image == nullptr) continue;
            const int frame = static_cast<int>(record[6]);
            // A frame the image does not have would read outside its surface.
            if (frame < 0 || frame >= static_cast<int>(image->m_frameList.size())) continue;
            bb_graphics_DrawImage2(image, x, y, record[3], record[4] * s * ImageInvScale,
                                   record[5] * s * ImageInvScale, frame);
        }
    }
}

int bb_Skitterbat_MyApp::m_OnRender() {
    const int width = bb_graphics_DeviceWidth();
    const int height = bb_graphics_DeviceHeight();
    bb_graphics_SetBlend(0);
    bb_graphics_SetColor(ClsRed, ClsGreen, ClsBlue);
    bb_graphics_SetAlpha(ClsAlpha);
    bb_graphics_DrawRect(-1, -1, static_cast<float>(width + 2), static_cast<float>(height + 2));
    bb_graphics_SetColor(255, 255, 255);
    bb_graphics_SetAlpha(1);
    FitVirtualScreen(width, height);
    if (replays::Render(*this)) return 0;
    if (DrawCount > 14) ReplayDrawList();
    bb_graphics_SetAlpha(0.5f);
    bb_graphics_SetColor(255, 255, 255);
    return 0;
}
