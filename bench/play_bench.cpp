// The busy play frame: one m_OnUpdate on the headless harness and one render
// of its draw list in a real GL context, with their heap allocations, draw
// calls and vertices.
#include "alloc_counter.h"
#include "median.h"
#include "world.h"

#include "graphics/image.h"

#include <GL/gl.h>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double ThreadCpuSeconds() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// Objects of the captured frame; draw records of the update just run from it.
void ReportBusyFrame(benchmark::State& state, const BusyFrame& frame, const bb_Skitterbat_MyApp& game) {
    BusyFrameStats stats = DescribeBusyFrame(*frame.game);
    stats.drawRecords = DescribeBusyFrame(game).drawRecords;
    state.counters["records"] = stats.records;
    state.counters["segments"] = stats.segments;
    state.counters["pods"] = stats.pods;
    state.counters["particles"] = stats.particles;
    state.counters["draw_records"] = stats.drawRecords;
}

void PlayUpdate(benchmark::State& state) {
    GameHarness& harness = BenchHarness(false);
    const BusyFrame& frame = CaptureBusyFrame(harness);
    std::vector<double> samples, cpuSamples;
    samples.reserve(static_cast<size_t>(state.max_iterations));
    cpuSamples.reserve(static_cast<size_t>(state.max_iterations));
    AllocCount allocs;
    for (auto _ : state) {
        RestoreBusyFrame(harness, frame);
        const AllocCount before = CurrentAllocs();
        const double cpuStart = ThreadCpuSeconds();
        const Clock::time_point start = Clock::now();
        harness.Update();
        const Clock::time_point end = Clock::now();
        cpuSamples.push_back(ThreadCpuSeconds() - cpuStart);
        const AllocCount after = CurrentAllocs();
        const double seconds = std::chrono::duration<double>(end - start).count();
        state.SetIterationTime(seconds);
        samples.push_back(seconds);
        allocs.news += (after - before).news;
        allocs.mallocs += (after - before).mallocs;
    }
    const double n = static_cast<double>(std::max<size_t>(samples.size(), 1));
    ReportBusyFrame(state, frame, harness.game);
    state.counters["median_ns"] = Median(samples) * 1e9;
    // CPU time leaves out the moments another process had the core.
    state.counters["median_cpu_ns"] = Median(cpuSamples) * 1e9;
    state.counters["news_per_update"] = static_cast<double>(allocs.news) / n;
    state.counters["mallocs_per_update"] = static_cast<double>(allocs.mallocs) / n;
}

void PlayRender(benchmark::State& state) {
    GameHarness& harness = BenchHarness(true);
    const BusyFrame& frame = CaptureBusyFrame(harness);
    RestoreBusyFrame(harness, frame);
    harness.Update(); // the busy frame's draw list
    gxtkGraphics& graphics = harness.Graphics();
    long calls = 0, vertices = 0;
    AllocCount allocs;
    for (auto _ : state) {
        const long callsBefore = graphics.drawCalls, verticesBefore = graphics.verticesDrawn;
        const AllocCount before = CurrentAllocs();
        harness.Render();
        const AllocCount after = CurrentAllocs();
        calls = graphics.drawCalls - callsBefore;
        vertices = graphics.verticesDrawn - verticesBefore;
        allocs.news += (after - before).news;
        allocs.mallocs += (after - before).mallocs;
        state.PauseTiming();
        // Wait for the rasteriser, which works on its own threads.
        glFinish();
        state.ResumeTiming();
    }
    const double n = static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    ReportBusyFrame(state, frame, harness.game);
    const unsigned char* renderer = glGetString(GL_RENDERER);
    if (renderer != nullptr) state.SetLabel(reinterpret_cast<const char*>(renderer));
    state.counters["draw_calls"] = static_cast<double>(calls);
    state.counters["expected_calls"] = ExpectedDrawCalls(harness.game);
    state.counters["vertices"] = static_cast<double>(vertices);
    state.counters["news_per_render"] = static_cast<double>(allocs.news) / n;
    state.counters["mallocs_per_render"] = static_cast<double>(allocs.mallocs) / n;
}

} // namespace

BENCHMARK(PlayUpdate)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(0.5);
BENCHMARK(PlayRender)->Unit(benchmark::kMicrosecond)->MinTime(0.5);
