// The busy play frame: one m_OnUpdate on the headless harness and one render
// of its draw list in a real GL context, with their heap allocations, draw
// calls and vertices.
#include "alloc_counter.h"
#include "world.h"

#include "graphics/image.h"

#include <GL/gl.h>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double>& samples) {
    if (samples.empty()) return 0;
    auto middle = samples.begin() + static_cast<long>(samples.size() / 2);
    std::nth_element(samples.begin(), middle, samples.end());
    return *middle;
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
    std::vector<double> samples;
    samples.reserve(static_cast<size_t>(state.max_iterations));
    AllocCount allocs;
    for (auto _ : state) {
        RestoreBusyFrame(harness, frame);
        const AllocCount before = CurrentAllocs();
        const Clock::time_point start = Clock::now();
        harness.Update();
        const Clock::time_point end = Clock::now();
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
    state.counters["news_per_update"] = static_cast<double>(allocs.news) / n;
    state.counters["mallocs_per_update"] = static_cast<double>(allocs.mallocs) / n;
}

// Draw calls the renderer's batching rules allow for the current draw list:
// a new call only when the kind or the texture changes, a batch fills, or for
// each oval.
int ExpectedDrawCalls(const bb_Skitterbat_MyApp& game) {
    int calls = 0, kind = 0, count = 0;
    const void* surface = nullptr;
    auto quad = [&](const void* s) {
        if (kind != 4 || s != surface || count == gxtkGraphics::kMaxQuads) {
            if (count > 0) ++calls;
            kind = 4;
            surface = s;
            count = 0;
        }
        ++count;
    };
    quad(nullptr); // the background
    const float* list = game.DrawList.Data();
    for (int i = 0; i < game.DrawCount - 14; i += DrawRecordSize) {
        const float* record = list + i;
        if (record[0] == DrawKindRect) {
            quad(nullptr);
        } else if (record[0] == DrawKindOval) {
            if (count > 0) ++calls;
            ++calls;
            kind = 5;
            surface = nullptr;
            count = 0;
        } else if (record[0] > -1) {
            const int n = static_cast<int>(record[0]);
            if (n >= game.Images.Length() || !game.Images[n]) continue;
            const bb_graphics_Image& image = *game.Images[n];
            const int f = static_cast<int>(record[6]);
            if (f < 0 || f >= static_cast<int>(image.m_frameList.size())) continue;
            quad(image.m_texSurface.get());
        }
    }
    if (count > 0) ++calls;
    return calls;
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
