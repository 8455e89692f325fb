// The benchmarks' shared game: one harness at a time, headless or with a real
// window, and the busy play frame every update and render benchmark measures.
#pragma once

#include "harness.h"

#include <memory>

// The harness of the wanted kind, created on first use; a harness of the other
// kind is closed first (the framework's globals allow one at a time).
GameHarness& BenchHarness(bool window);
void CloseBenchHarness();

// The game state of the busy frame, captured once per harness kind.
struct BusyFrame {
    std::unique_ptr<bb_Skitterbat_MyApp> game; // a copy of the whole game object
    int seed = 0;                              // bb_random_Seed at that moment
    int keys = 0;                              // bb_Skitterbat_keys
};

// Plays the scripted game on the harness up to the busy frame and captures it.
const BusyFrame& CaptureBusyFrame(GameHarness& harness);
// Puts the captured state back, so the next update is the same busy frame.
void RestoreBusyFrame(GameHarness& harness, const BusyFrame& frame);

// Reads the build's data folder of the benchmark program.
std::string BenchDataDir();

// What the busy frame holds, for the report.
struct BusyFrameStats {
    int segments = 0, pods = 0, shrooms = 0, balls = 0, records = 0, particles = 0, drawRecords = 0;
};
BusyFrameStats DescribeBusyFrame(const bb_Skitterbat_MyApp& game);

// Draw calls the renderer's batching rules allow for the game's current draw
// list: a new call only when the kind or the texture changes, a batch fills,
// or for each oval; one more for the background.
int ExpectedDrawCalls(const bb_Skitterbat_MyApp& game);
