// Replays: what recording adds to an update of busy play, and for each golden
// game of tests/replays/ how fast it verifies against real time and how many
// bytes a minute of its play takes.
#include "alloc_counter.h"
#include "median.h"
#include "world.h"

#include "game/replay/replay_file.h"
#include "game/replay/replay_recorder.h"
#include "game/replay/replay_store.h"
#include "game/replay/replay_verify.h"
#include "host/bb_app.h"
#include "input/gxtk_input.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#ifndef SKITTERBAT_GOLDEN_REPLAYS
#error "the benchmark needs the golden games' folder"
#endif

namespace {

using Clock = std::chrono::steady_clock;

// One iteration is one update of the autopilot's play from the busy frame,
// with a recorder of its own beside the game's: the time is the recorder's
// Input (before the update) and EndUpdate (after it, with a checksum every
// 60th), as the game calls them.
void RecordUpdate(benchmark::State& state) {
    GameHarness& harness = BenchHarness(false);
    const BusyFrame& frame = CaptureBusyFrame(harness);
    RestoreBusyFrame(harness, frame);
    ReplayRecorder recorder;
    recorder.Begin(harness.game);
    gxtkInput& input = harness.Input();
    AllocCount allocs;
    std::vector<double> plain, checked; // seconds of the updates without and with a checksum
    plain.reserve(static_cast<size_t>(state.max_iterations));
    checked.reserve(static_cast<size_t>(state.max_iterations) / 60 + 1);
    uint32_t updates = 0;
    for (auto _ : state) {
        // Ten seconds on from the busy frame at the most, so that play stays as busy.
        if (updates % 600 == 599) RestoreBusyFrame(harness, frame);
        harness.SteerAutopilot();
        // What the host's update is about to read; Update polls the same again.
        input.BeginUpdate();
        const AllocCount a = CurrentAllocs();
        const Clock::time_point start = Clock::now();
        recorder.Input(input);
        const Clock::time_point between = Clock::now();
        const AllocCount b = CurrentAllocs();
        harness.Update();
        const AllocCount c = CurrentAllocs();
        const Clock::time_point resumed = Clock::now();
        recorder.EndUpdate(harness.game, false);
        const Clock::time_point end = Clock::now();
        const AllocCount d = CurrentAllocs();
        allocs.news += (b - a).news + (d - c).news;
        allocs.mallocs += (b - a).mallocs + (d - c).mallocs;
        const double seconds = std::chrono::duration<double>((between - start) + (end - resumed)).count();
        state.SetIterationTime(seconds);
        (++updates % 60 == 0 ? checked : plain).push_back(seconds);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["news_per_update"] = static_cast<double>(allocs.news) / n;
    state.counters["mallocs_per_update"] = static_cast<double>(allocs.mallocs) / n;
    // Medians leave out the moments another process had the core.
    state.counters["median_ns"] = Median(plain) * 1e9;
    state.counters["checksum_update_median_ns"] = Median(checked) * 1e9;
    state.counters["mode"] = harness.game.Mode;
}

// Reads, inflates, checks and plays one golden game as --verify does.
void VerifyGoldenGame(benchmark::State& state, const std::string& path) {
    static bool initialised = false;
    if (!initialised) {
        bbInit();
        initialised = true;
    }
    std::vector<uint8_t> bytes;
    ReplayHeader header;
    if (!ReadCappedFile(path, &bytes) || !ReadReplayHeader(bytes.data(), bytes.size(), &header).ok()) {
        state.SkipWithError("not a replay of this build");
        return;
    }
    bool ok = true;
    for (auto _ : state) ok = VerifyReplayBytes(bytes).status == VerifyStatus::Ok && ok;
    if (!ok) state.SkipWithError("does not verify");
    const double minutes = header.updates / 3600.0;
    state.counters["updates"] = header.updates;
    state.counters["bytes"] = static_cast<double>(bytes.size());
    state.counters["bytes_per_minute"] = static_cast<double>(bytes.size()) / minutes;
    // Seconds of play verified per second: the real-time factor.
    state.counters["x_real_time"] =
        benchmark::Counter(header.updates / 60.0, benchmark::Counter::kIsIterationInvariantRate);
}

const bool registered = [] {
    namespace fs = std::filesystem;
    std::vector<fs::path> games;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(SKITTERBAT_GOLDEN_REPLAYS, error))
        if (entry.path().extension() == ".replay") games.push_back(entry.path());
    std::sort(games.begin(), games.end());
    for (const fs::path& game : games)
        benchmark::RegisterBenchmark(("VerifyGoldenGame/" + game.stem().string()).c_str(), VerifyGoldenGame,
                                     game.string())
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.5);
    return true;
}();

} // namespace

// Ten minutes of play; the recorder's reserve holds them without growing.
BENCHMARK(RecordUpdate)->Iterations(36000)->UseManualTime()->Unit(benchmark::kNanosecond);
