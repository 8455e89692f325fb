// Steady play: the autopilot plays on from the busy frame in a real window;
// after two warm-up seconds every update and render is checked for heap
// allocations (a first frame may still fill caches of the driver), and the
// whole process's page faults per frame are counted.
#include "alloc_counter.h"
#include "world.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

constexpr int kWarmUpFrames = 120;

long PageFaults() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

void SteadyPlay(benchmark::State& state) {
    GameHarness& harness = BenchHarness(true);
    RestoreBusyFrame(harness, CaptureBusyFrame(harness));
    for (int i = 0; i < kWarmUpFrames; ++i) {
        harness.SteerAutopilot();
        harness.Frames();
    }
    glFinish();
    AllocCount updates, renders;
    int allocatingUpdates = 0, allocatingRenders = 0, excessCalls = 0;
    long calls = 0;
    gxtkGraphics& graphics = harness.Graphics();
    const long faultsBefore = PageFaults();
    for (auto _ : state) {
        harness.SteerAutopilot();
        const AllocCount a = CurrentAllocs();
        harness.Update();
        const AllocCount b = CurrentAllocs();
        const long callsBefore = graphics.drawCalls;
        harness.Render();
        const AllocCount c = CurrentAllocs();
        calls += graphics.drawCalls - callsBefore;
        if (graphics.drawCalls - callsBefore > ExpectedDrawCalls(harness.game)) ++excessCalls;
        updates.news += (b - a).news;
        updates.mallocs += (b - a).mallocs;
        renders.news += (c - b).news;
        renders.mallocs += (c - b).mallocs;
        if ((b - a).mallocs + (b - a).news > 0) ++allocatingUpdates;
        if ((c - b).mallocs + (c - b).news > 0) ++allocatingRenders;
        state.PauseTiming();
        glFinish();
        state.ResumeTiming();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["faults_per_frame"] = static_cast<double>(PageFaults() - faultsBefore) / n;
    state.counters["news_per_update"] = static_cast<double>(updates.news) / n;
    state.counters["mallocs_per_update"] = static_cast<double>(updates.mallocs) / n;
    state.counters["news_per_render"] = static_cast<double>(renders.news) / n;
    state.counters["mallocs_per_render"] = static_cast<double>(renders.mallocs) / n;
    state.counters["allocating_updates"] = allocatingUpdates;
    state.counters["allocating_renders"] = allocatingRenders;
    state.counters["mode"] = harness.game.Mode;
    state.counters["draw_calls_per_render"] = static_cast<double>(calls) / n;
    // Renders that drew more calls than the batching rules allow for their list.
    state.counters["renders_over_batching"] = excessCalls;
}

} // namespace

// One iteration is one frame of play: update and render.
BENCHMARK(SteadyPlay)->Iterations(600)->Unit(benchmark::kMicrosecond);
