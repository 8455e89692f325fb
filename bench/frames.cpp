// Frame fingerprints: renders a fixed set of scenes through the real renderer
// (the busy play frame, plain and turned sprites, both under a turned and
// scaled context) and writes each picture as raw RGBA bytes plus one line of
// "scene hash" per scene. Two builds that print the same lines draw the same
// pixels, which is how a renderer change proves it changed no pixel.
//
// Usage: skitterbat_frames [OUT_DIR]
#include "sprite_pattern.h"
#include "world.h"

#include "graphics/image.h"

#include <GL/gl.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

uint64_t Fnv1a(const std::vector<unsigned char>& bytes) {
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char b : bytes) hash = (hash ^ b) * 1099511628211ull;
    return hash;
}

void Capture(GameHarness& harness, const std::string& outDir, const char* scene) {
    gxtkGraphics& graphics = harness.Graphics();
    const int width = graphics.Width(), height = graphics.Height();
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    std::printf("%s %016llx\n", scene, static_cast<unsigned long long>(Fnv1a(pixels)));
    if (outDir.empty()) return;
    const std::string path = outDir + "/" + scene + ".rgba";
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(pixels.data(), 1, pixels.size(), file);
        std::fclose(file);
    }
}

// One frame of the renderer and context, drawn by draw.
void RenderScene(GameHarness& harness, const std::function<void()>& draw) {
    gxtkGraphics& graphics = harness.Graphics();
    graphics.Validate();
    graphics.BeginRender();
    bb_graphics_BeginRender();
    graphics.Cls(20, 30, 40);
    draw();
    if (graphics.batchCount > 0) graphics.Flush();
    bb_graphics_EndRender();
    glFinish();
}

} // namespace

int main(int argc, char** argv) {
    const std::string outDir = argc > 1 ? argv[1] : "";
    GameHarness& harness = BenchHarness(true);

    const BusyFrame& busy = CaptureBusyFrame(harness);
    RestoreBusyFrame(harness, busy);
    harness.Update();
    harness.Render();
    Capture(harness, outDir, "busy_play");

    bb_graphics_ImageRef atlas = bb_graphics_LoadImage2("parts.png", 8, 8, 16, 1);
    bb_graphics_ImageRef whole = bb_graphics_LoadImage("parts.png", 1, 1);
    if (!atlas || !whole) {
        std::fprintf(stderr, "parts.png missing from the data folder\n");
        return 1;
    }
    const int width = harness.Graphics().Width(), height = harness.Graphics().Height();
    for (int turnedContext = 0; turnedContext < 2; ++turnedContext) {
        auto context = [&] {
            if (!turnedContext) return;
            bb_graphics_Translate(320, 240);
            bb_graphics_Rotate(7.5f);
            bb_graphics_Scale(1.3f, 0.9f);
            bb_graphics_Translate(-320, -240);
        };
        const std::string suffix = turnedContext ? "_in_turned_context" : "";
        RenderScene(harness, [&] {
            context();
            for (int i = 0; i < 3000; ++i) {
                const SpritePlace p = PlaceSprite(i, width, height);
                bb_graphics_SetAlpha(static_cast<float>(i % 7 + 1) / 7.0f);
                bb_graphics_DrawImage(atlas.get(), p.x, p.y, p.frame);
            }
            bb_graphics_DrawImage(whole.get(), 100.5f, 60.25f, 0);
        });
        Capture(harness, outDir, ("plain_sprites" + suffix).c_str());
        RenderScene(harness, [&] {
            context();
            bb_graphics_SetBlend(1);
            for (int i = 0; i < 3000; ++i) {
                const SpritePlace p = PlaceSprite(i, width, height);
                const float scale = kTurnedSpriteScale + static_cast<float>(i % 5) * 0.37f;
                bb_graphics_SetColor(255, static_cast<float>(i % 256), 128);
                bb_graphics_DrawImage2(atlas.get(), p.x, p.y, p.degrees + 0.3f * static_cast<float>(i % 3),
                                       scale, scale * 1.1f, p.frame);
            }
            bb_graphics_DrawImage2(whole.get(), 300.25f, 200.5f, -33.3f, 2.5f, 1.5f, 0);
        });
        Capture(harness, outDir, ("turned_sprites" + suffix).c_str());
    }
    CloseBenchHarness();
    return 0;
}
