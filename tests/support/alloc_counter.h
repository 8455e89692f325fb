// Heap allocation counters of the benchmark program: every operator new and,
// outside AddressSanitizer builds, every malloc, calloc and realloc (those of
// the GL driver and OpenAL included) bumps a counter.
#pragma once

#include <cstdint>

struct AllocCount {
    uint64_t news = 0;    // C++ allocations (operator new of any form)
    uint64_t mallocs = 0; // C allocations, C++ ones included; 0 when not counted
};

// Totals of the calling thread since it started.
AllocCount CurrentAllocs();
// Whether malloc and friends are counted in this build.
bool MallocCounted();

inline AllocCount operator-(const AllocCount& a, const AllocCount& b) {
    return AllocCount{a.news - b.news, a.mallocs - b.mallocs};
}
