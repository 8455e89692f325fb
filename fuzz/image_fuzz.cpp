// Image loading fuzz target: any bytes as a ".png" file through the renderer's
// LoadSurface__UNSAFE__, the decoding half of surface loading (no GL needed).
#include "fuzz_file.h"
#include "graphics/gxtk_graphics.h"
#include "whole_block.h"

// Small enough that a fuzzed header costs microseconds, large enough for every
// decoder's paths (interlacing, progressive scans, RLE runs).
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    SetMaxImagePixels(128L * 128L);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzFile file("image.png");
    static gxtkGraphics graphics;
    file.Write(data, size);

    gxtkSurface surface;
    if (graphics.LoadSurface__UNSAFE__(&surface, String(file.Path())) == nullptr) {
        // A failed load leaves the surface untouched.
        if (surface.pixels != nullptr || surface.pixelWidth != 0 || surface.bytesPerPixel != 0) std::abort();
        return 0;
    }
    // The upload that follows relies on these.
    if (surface.pixels == nullptr || surface.pixelWidth <= 0 || surface.pixelHeight <= 0) std::abort();
    if (surface.bytesPerPixel < 1 || surface.bytesPerPixel > 4) std::abort();
    size_t bytes = static_cast<size_t>(surface.pixelWidth) * static_cast<size_t>(surface.pixelHeight) *
                   static_cast<size_t>(surface.bytesPerPixel);
    RequireWholeBlock(surface.pixels, bytes);
    surface.Discard();
    return 0;
}
