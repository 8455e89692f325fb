// Invariants of the game object and resource counts for the soak and resize runs.
#include "invariants.h"

#include "audio/gxtk_audio.h"
#include "graphics/gxtk_graphics.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime: bytes allocated and not yet freed.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace {

bool KnownKind(float kind) {
    return kind == KindSegment || (kind >= 1 && kind <= 4 && kind == std::floor(kind)) ||
           (kind >= 5 && kind <= 8 && kind == std::floor(kind)) || kind == KindBallFlying ||
           kind == KindBallHeld;
}

std::string Describe(const char* what, int record, float value) {
    char text[160];
    std::snprintf(text, sizeof text, "%s (record %d, value %g)", what, record, static_cast<double>(value));
    return text;
}

} // namespace

std::string BrokenInvariant(const bb_Skitterbat_MyApp& game) {
    if (game.DrawCount < 0 || game.DrawCount % DrawRecordSize != 0 ||
        game.DrawCount > DrawListSize - DrawRecordSize)
        return Describe("DrawCount not a whole number of records within the list", -1,
                        static_cast<float>(game.DrawCount));
    if (game.Mode != 0 && game.Mode != ModeMenu && game.Mode != ModeReturnToMenu &&
        game.Mode != ModePlaying && game.Mode != ModeStartGame)
        return Describe("unknown Mode", -1, static_cast<float>(game.Mode));
    if (game.Lives < 0) return Describe("negative Lives", -1, static_cast<float>(game.Lives));

    const float* objects = game.Objects.Data();
    for (int r = 0; r < ObjectRecords; ++r) {
        const float* o = objects + 10 * r;
        if (!(o[ObjColour] > 0)) continue;
        if (!KnownKind(o[ObjKind])) return Describe("live object of unknown kind", r, o[ObjKind]);
        for (int field : {ObjX, ObjY, ObjDX, ObjDY})
            if (!std::isfinite(o[field]))
                return Describe("live object with a non-finite position or speed", r, o[field]);
    }
    const float* parts = game.Parts.Data();
    for (int r = 0; r < ParticleRecords; ++r) {
        const float* p = parts + 10 * r;
        if (!(p[PartLife] >= 0 && p[PartLife] <= 120))
            return Describe("particle life outside 0..120", r, p[PartLife]);
        if (p[PartLife] > 0)
            for (int field : {PartX, PartY, PartDX, PartDY})
                if (!std::isfinite(p[field]))
                    return Describe("particle with a non-finite position or speed", r, p[field]);
    }
    return std::string();
}

Resources Resources::Now() {
    Resources now;
    now.textures = gxtkSurface::LiveTextures();
    now.buffers = gxtkAudio::LiveBuffers();
#if defined(__SANITIZE_ADDRESS__)
    now.heapBytes = static_cast<long>(__sanitizer_get_current_allocated_bytes());
#else
    now.heapBytes = static_cast<long>(mallinfo2().uordblks);
#endif
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    now.residentBytes = resident * sysconf(_SC_PAGESIZE);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    now.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return now;
}
