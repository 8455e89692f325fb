// Heap settings for a program that frees and takes again the same blocks
// every frame (the GL driver's vertex and scene buffers) and, on every window
// resize, decodes all art and sound again into large, short-lived buffers.
#include "desktop/allocator.h"

#include <cstdlib> // brings in __GLIBC__

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void ConfigureAllocator() {
#if defined(__GLIBC__)
    // Blocks from 256 KiB up get mappings of their own, returned whole on
    // free. glibc's sliding threshold would move the decode buffers of each
    // resize onto the heap, whose freed middle it cannot give back: resident
    // memory would wander upwards by tens of megabytes. Fixing it also turns
    // off glibc's own trim adjustments.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    // Freed memory at the heap's top is kept. The driver frees its scene
    // buffers at the end of every frame and takes them again for the next;
    // handed back to the kernel, they would be faulted in again page by page,
    // a thousand times a frame with 10,000 sprites.
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
#endif
}
