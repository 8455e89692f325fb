// Start-up inside the process: a fresh game in a real window, its creation
// (window, sound device, the logo) and then each of the asset loader's 44
// updates timed on its own, the image, font and sound steps added up apart.
#include "world.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Loader steps that read an image or the font; the others read sounds or end loading.
bool ImageStep(int step) {
    return (step >= 1 && step <= 6) || (step >= 11 && step <= 15) || step == 43;
}
bool SoundStep(int step) {
    return (step >= 7 && step <= 10) || (step >= 16 && step <= 42);
}

void Loader(benchmark::State& state) {
    double create = 0, images = 0, sounds = 0, slowest = 0, total = 0;
    int slowestStep = 0;
    CloseBenchHarness();
    HarnessOptions options;
    options.window = true;
    options.finishLoading = false;
    for (auto _ : state) {
        const Clock::time_point begin = Clock::now();
        auto harness = std::make_unique<GameHarness>(options);
        const Clock::time_point created = Clock::now();
        create += Ms(begin, created);
        while (harness->game.LoaderStage > 0) {
            const int step = harness->game.LoaderStage;
            const Clock::time_point before = Clock::now();
            harness->Update();
            const double spent = Ms(before, Clock::now());
            harness->Render();
            if (ImageStep(step)) images += spent;
            if (SoundStep(step)) sounds += spent;
            if (spent > slowest) {
                slowest = spent;
                slowestStep = step;
            }
        }
        total += Ms(begin, Clock::now());
        state.PauseTiming();
        harness.reset();
        state.ResumeTiming();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["create_ms"] = create / n;
    state.counters["image_steps_ms"] = images / n;
    state.counters["sound_steps_ms"] = sounds / n;
    state.counters["slowest_step"] = slowestStep;
    state.counters["slowest_step_ms"] = slowest;
    state.counters["total_ms"] = total / n;
}

} // namespace

BENCHMARK(Loader)->Iterations(3)->Unit(benchmark::kMillisecond);
