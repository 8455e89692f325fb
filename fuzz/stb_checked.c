/* The fuzz build compiles Debian's stb_image and stb_vorbis from their headers
   so that the sanitizers and the coverage guidance see inside the decoders;
   these definitions take the place of the shared library's.

   Two changes to stb_vorbis, both for speed, neither hiding a fault:
   - One allocation is refused above kMaxVorbisBlock, as the decoder's own
     out-of-memory path already handles: a damaged set-up header can ask for
     tens of megabytes per codebook, which then costs page faults, not checks.
   - A failed open leaves a sparse codebook's temporary lengths allocated. That
     leak is known, but every input that shows it makes libFuzzer scan the
     whole heap for leaks, which took three quarters of the Ogg target's time.
     The open below frees what a failed open left behind instead. */
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include <alloca.h>
#include <malloc.h>
#include <stdlib.h>
#include <string.h>

enum { kMaxVorbisBlock = 1 << 20 };

/* Blocks the decoder allocated during the open in progress, still live. */
static void** g_openBlocks;
static size_t g_openBlockCount, g_openBlockRoom;
static int g_opening;

static void Remember(void* block) {
    if (!g_opening || block == NULL) return;
    if (g_openBlockCount == g_openBlockRoom) {
        size_t room = g_openBlockRoom ? g_openBlockRoom * 2 : 256;
        void** grown = (void**)realloc(g_openBlocks, room * sizeof *grown);
        if (grown == NULL) abort();
        g_openBlocks = grown;
        g_openBlockRoom = room;
    }
    g_openBlocks[g_openBlockCount++] = block;
}

static void Forget(void* block) {
    if (!g_opening || block == NULL) return;
    /* Temporary blocks are freed soon after they are made: search from the end. */
    for (size_t i = g_openBlockCount; i-- > 0;) {
        if (g_openBlocks[i] == block) {
            g_openBlocks[i] = g_openBlocks[--g_openBlockCount];
            return;
        }
    }
}

static void* VorbisMalloc(size_t size) {
    if (size > kMaxVorbisBlock) return NULL;
    void* block = malloc(size);
    Remember(block);
    return block;
}

static void VorbisFree(void* block) {
    Forget(block);
    free(block);
}

static void* VorbisRealloc(void* block, size_t size) {
    if (size > kMaxVorbisBlock) return NULL;
    void* moved = realloc(block, size);
    if (moved != NULL) {
        Forget(block);
        Remember(moved);
    }
    return moved;
}

#define malloc VorbisMalloc
#define free VorbisFree
#define realloc VorbisRealloc
#define stb_vorbis_open_file stb_vorbis_open_file_leaky
#include <stb_vorbis.h>
#undef stb_vorbis_open_file
#undef malloc
#undef free
#undef realloc

stb_vorbis* stb_vorbis_open_file(FILE* file, int close_on_free, int* error, const stb_vorbis_alloc* alloc) {
    g_openBlockCount = 0;
    g_opening = 1;
    stb_vorbis* vorbis = stb_vorbis_open_file_leaky(file, close_on_free, error, alloc);
    g_opening = 0;
    if (vorbis == NULL)
        for (size_t i = 0; i < g_openBlockCount; ++i) free(g_openBlocks[i]);
    g_openBlockCount = 0;
    return vorbis;
}
