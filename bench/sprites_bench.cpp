// Sprite throughput: N frames of one atlas per rendered frame through
// bb_graphics_DrawImage and bb_graphics_DrawImage2, timed as CPU submission
// (the frame's final flush included, the driver's wait for the picture not).
#include "sprite_pattern.h"
#include "world.h"

#include "graphics/image.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

namespace {

enum class SpriteCall { DrawImage, DrawImage2, DrawImage2Rotated };

void DrawSprites(benchmark::State& state, SpriteCall call) {
    GameHarness& harness = BenchHarness(true);
    gxtkGraphics& graphics = harness.Graphics();
    // The particle sheet at its smallest level: 8 x 8 pixel frames, so the
    // rasteriser's share stays small next to the submission being measured.
    bb_graphics_ImageRef atlas = bb_graphics_LoadImage2("parts.png", 8, 8, 16, 1);
    if (!atlas) {
        state.SkipWithError("parts.png missing from the data folder");
        return;
    }
    const int count = static_cast<int>(state.range(0));
    long calls = 0;
    for (auto _ : state) {
        graphics.Validate();
        graphics.BeginRender();
        bb_graphics_BeginRender();
        const long before = graphics.drawCalls;
        for (int i = 0; i < count; ++i) {
            const SpritePlace p = PlaceSprite(i, graphics.Width(), graphics.Height());
            switch (call) {
            case SpriteCall::DrawImage:
                bb_graphics_DrawImage(atlas.get(), p.x, p.y, p.frame);
                break;
            case SpriteCall::DrawImage2:
                bb_graphics_DrawImage2(atlas.get(), p.x, p.y, 0, 1, 1, p.frame);
                break;
            case SpriteCall::DrawImage2Rotated:
                bb_graphics_DrawImage2(atlas.get(), p.x, p.y, p.degrees, kTurnedSpriteScale,
                                       kTurnedSpriteScale, p.frame);
                break;
            }
        }
        if (graphics.batchCount > 0) graphics.Flush();
        bb_graphics_EndRender();
        calls = graphics.drawCalls - before;
        state.PauseTiming();
        // Let the rasteriser finish so queued frames never pile up.
        glFinish();
        state.ResumeTiming();
    }
    state.counters["sprites_per_ms"] = benchmark::Counter(static_cast<double>(count) / 1000.0,
                                                          benchmark::Counter::kIsIterationInvariantRate);
    state.counters["draw_calls"] = static_cast<double>(calls);
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
}

} // namespace

BENCHMARK_CAPTURE(DrawSprites, DrawImage, SpriteCall::DrawImage)->Apply(Sizes);
BENCHMARK_CAPTURE(DrawSprites, DrawImage2, SpriteCall::DrawImage2)->Apply(Sizes);
BENCHMARK_CAPTURE(DrawSprites, DrawImage2_rotated, SpriteCall::DrawImage2Rotated)->Apply(Sizes);
