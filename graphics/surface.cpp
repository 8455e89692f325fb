// gxtkSurface: one texture made from decoded image pixels, premultiplied on
// upload; the renderer's surface loaders; the stb_image decoding functions.
#include "graphics/gxtk_graphics.h"

#include "graphics/png_chunks.h"
#include "runtime/datapath.h"

#include <GL/gl.h>
#include <stb_image.h>

#include <cstdio>
#include <cstdlib>

namespace {

int liveTextures = 0;

// Colour times alpha, in place: depth 2 is grey+alpha, depth 4 is RGBA.
void Premultiply(unsigned char* pixels, int count, int depth) {
    if (depth == 2) {
        for (int i = 0; i < count; ++i) {
            unsigned char* p = pixels + i * 2;
            p[0] = static_cast<unsigned char>(p[0] * p[1] / 255);
        }
    } else if (depth == 4) {
        for (int i = 0; i < count; ++i) {
            unsigned char* p = pixels + i * 4;
            p[0] = static_cast<unsigned char>(p[0] * p[3] / 255);
            p[1] = static_cast<unsigned char>(p[1] * p[3] / 255);
            p[2] = static_cast<unsigned char>(p[2] * p[3] / 255);
        }
    }
}

// Allocates the bound texture's storage; false when GL refuses the size.
bool AllocateTexture(GLenum format, int width, int height) {
    while (glGetError() != GL_NO_ERROR) {
    }
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format, GL_UNSIGNED_BYTE,
                 nullptr);
    return glGetError() == GL_NO_ERROR;
}

} // namespace

gxtkSurface::gxtkSurface(unsigned char* data, int width, int height, int depth) {
    SetData(data, width, height, depth);
}

gxtkSurface::~gxtkSurface() {
    gxtkSurface::Discard();
}

void gxtkSurface::SetData(unsigned char* data, int width, int height, int depth) {
    if (pixels && pixels != data) unloadImage(pixels);
    pixels = data;
    pixelWidth = width;
    pixelHeight = height;
    bytesPerPixel = depth;
}

int gxtkSurface::Discard() {
    if (textureName) {
        gxtkGraphics::ForgetSurface(this);
        glDeleteTextures(1, &textureName);
        // GL unbinds a deleted texture, and its name may come back for another.
        gxtkGraphics::ForgetGLState();
        textureName = 0;
        --liveTextures;
    }
    if (pixels) {
        unloadImage(pixels);
        pixels = nullptr;
    }
    return 0;
}

int gxtkSurface::LiveTextures() {
    return liveTextures;
}

bool gxtkSurface::OnUnsafeLoadComplete() {
    GLenum format = 0;
    switch (bytesPerPixel) {
    case 1:
        format = GL_LUMINANCE;
        break;
    case 2:
        format = GL_LUMINANCE_ALPHA;
        break;
    case 3:
        format = GL_RGB;
        break;
    case 4:
        format = GL_RGBA;
        break;
    default:
        std::fprintf(stderr, "Unsupported image depth %d\n", bytesPerPixel);
        std::exit(-1);
    }

    if (pixels) Premultiply(pixels, pixelWidth * pixelHeight, bytesPerPixel);

    glGenTextures(1, &textureName);
    ++liveTextures;
    glBindTexture(GL_TEXTURE_2D, textureName);
    gxtkGraphics::ForgetGLState();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

    int textureWidth = pixelWidth;
    int textureHeight = pixelHeight;
    if (!AllocateTexture(format, textureWidth, textureHeight)) {
        // Drivers without non-power-of-two textures take the padded size.
        textureWidth = Pow2Size(pixelWidth);
        textureHeight = Pow2Size(pixelHeight);
        if (!AllocateTexture(format, textureWidth, textureHeight)) {
            if (pixels) {
                unloadImage(pixels);
                pixels = nullptr;
            }
            return false;
        }
    }

    if (pixels) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, pixelWidth, pixelHeight, format, GL_UNSIGNED_BYTE, pixels);
    }
    texScaleU = 1.0f / static_cast<float>(textureWidth);
    texScaleV = 1.0f / static_cast<float>(textureHeight);
    if (pixels) {
        unloadImage(pixels);
        pixels = nullptr;
    }
    return true;
}

gxtkSurfaceRef gxtkGraphics::LoadSurface(const String& path) {
    auto surface = std::make_shared<gxtkSurface>();
    if (!LoadSurface__UNSAFE__(surface.get(), path)) return nullptr;
    if (!surface->OnUnsafeLoadComplete()) return nullptr;
    return surface;
}

gxtkSurface* gxtkGraphics::LoadSurface__UNSAFE__(gxtkSurface* surface, const String& path) {
    int width = 0, height = 0, depth = 0;
    unsigned char* data = loadImage(path, &width, &height, &depth);
    if (!data) return nullptr;
    surface->SetData(data, width, height, depth);
    return surface;
}

gxtkSurfaceRef gxtkGraphics::CreateSurface(int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    auto surface = std::make_shared<gxtkSurface>(nullptr, width, height, 4);
    if (!surface->OnUnsafeLoadComplete()) return nullptr;
    return surface;
}

namespace {

// Several decoders fill a short file's missing pixels with zeros, so a damaged
// header of a few bytes could otherwise cost gigabytes: sizes are checked first.
constexpr int kMaxImageSide = 16384;
long maxImagePixels = 4096L * 4096L;

bool ImageSizeAllowed(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           static_cast<long>(width) * height <= maxImagePixels;
}

// Debian's stb_image reads far outside its tables on some damaged JPEG
// Huffman data, and the game's art is PNG: JPEG files are not decoded.
bool IsJpeg(const unsigned char* start, size_t size) {
    return size >= 2 && start[0] == 0xFF && start[1] == 0xD8;
}

bool IsJpeg(FILE* file) {
    unsigned char start[2] = {};
    long at = std::ftell(file);
    size_t got = std::fread(start, 1, sizeof start, file);
    std::fseek(file, at, SEEK_SET);
    return IsJpeg(start, got);
}

} // namespace

unsigned char* loadImage(const String& path, int* width, int* height, int* depth) {
    FILE* file = fopenFile(path, String("rb"));
    if (!file) return nullptr;
    int w = 0, h = 0, n = 0;
    unsigned char* data = nullptr;
    // stbi_info_from_file leaves the file where it found it.
    if (!IsJpeg(file) && stbi_info_from_file(file, &w, &h, &n) && ImageSizeAllowed(w, h) &&
        PngChunksFit(file))
        data = stbi_load_from_file(file, width, height, depth, 0);
    std::fclose(file);
    return data;
}

unsigned char* loadImage(const unsigned char* bytes, int length, int* width, int* height, int* depth) {
    if (!bytes || length <= 0 || IsJpeg(bytes, static_cast<size_t>(length))) return nullptr;
    int w = 0, h = 0, n = 0;
    if (!stbi_info_from_memory(bytes, length, &w, &h, &n) || !ImageSizeAllowed(w, h)) return nullptr;
    if (!PngChunksFit(bytes, static_cast<size_t>(length))) return nullptr;
    return stbi_load_from_memory(bytes, length, width, height, depth, 0);
}

void SetMaxImagePixels(long pixels) {
    maxImagePixels = pixels;
}

void unloadImage(unsigned char* pixels) {
    stbi_image_free(pixels);
}

int Pow2Size(int n) {
    int size = 1;
    while (size < n && size < (1 << 30)) size <<= 1;
    return size;
}
