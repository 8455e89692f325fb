// What must hold of the game after every update, whatever the player does,
// and the process-wide resources that must not grow across art reloads.
#pragma once

#include "game/skitterbat.h"

#include <string>

// Empty when the game object is sound, else the first broken rule.
std::string BrokenInvariant(const bb_Skitterbat_MyApp& game);

struct Resources {
    int textures = 0;
    int buffers = 0;
    long heapBytes = 0;     // bytes the program has allocated and not freed
    long residentBytes = 0; // resident set size
    double cpuSeconds = 0;  // CPU the process has used, all threads (for the report)

    static Resources Now();
};
