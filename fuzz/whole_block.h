// A decoder's block must hold every byte it claims. ASan's shadow memory marks
// where each heap block ends, so one look at the shadow of the claimed range
// proves what reading every byte would, in a fraction of the time.
#pragma once

#include <sanitizer/asan_interface.h>

#include <cstddef>

inline void RequireWholeBlock(const void* block, size_t bytes) {
    if (bytes == 0) return;
    void* beyond = __asan_region_is_poisoned(const_cast<void*>(block), bytes);
    // Reading the first byte past the block makes ASan report it in full.
    if (beyond != nullptr) (void)*static_cast<volatile const unsigned char*>(beyond);
}
