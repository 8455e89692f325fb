// gxtkGraphics: the batched fixed-function OpenGL renderer, and gxtkSurface,
// one texture made from one image file. Colour is premultiplied and transformed
// on the CPU so colour and matrix changes never break a batch.
#pragma once

#include "runtime/runtime.h"

#include <cstdint>
#include <memory>

class gxtkSurface : public gxtkObject {
  public:
    unsigned char* pixels = nullptr; // owned until uploaded
    int pixelWidth = 0;
    int pixelHeight = 0;
    int bytesPerPixel = 0;
    unsigned int textureName = 0;
    float texScaleU = 0;
    float texScaleV = 0;

    gxtkSurface() = default;
    gxtkSurface(unsigned char* data, int width, int height, int depth);
    ~gxtkSurface() override;
    gxtkSurface(const gxtkSurface&) = delete;
    gxtkSurface& operator=(const gxtkSurface&) = delete;

    // Takes ownership of pixels from loadImage (freed with unloadImage).
    void SetData(unsigned char* data, int width, int height, int depth);

    virtual int Discard();
    virtual int Width() { return pixelWidth; }
    virtual int Height() { return pixelHeight; }
    virtual bool Loaded() { return true; }
    virtual bool OnUnsafeLoadComplete();

    // Number of textures currently alive, for leak checks.
    static int LiveTextures();
};

using gxtkSurfaceRef = std::shared_ptr<gxtkSurface>;

// Decoded image loaders (stb_image); pixels are freed with unloadImage.
unsigned char* loadImage(const String& path, int* width, int* height, int* depth);
unsigned char* loadImage(const unsigned char* bytes, int length, int* width, int* height, int* depth);
void unloadImage(unsigned char* pixels);
// The most pixels a decoded image may have (4096 x 4096 unless told otherwise);
// larger ones are refused before decoding.
void SetMaxImagePixels(long pixels);
int Pow2Size(int n);

struct gxtkVertex {
    float x, y, u, v;
    uint8_t rgba[4];
};
static_assert(sizeof(gxtkVertex) == 20, "vertex stride given to OpenGL");

class gxtkGraphics : public gxtkObject {
  public:
    static constexpr int kMaxVertices = 1024;
    static constexpr int kMaxQuads = 256;

    int mode = 1;
    int windowWidth = 0;
    int windowHeight = 0;
    uint8_t packedColor[4] = {0, 0, 0, 0};
    float red = 0, green = 0, blue = 0, alpha = 0;
    float xAxisX = 1, xAxisY = 0, yAxisX = 0, yAxisY = 1, originX = 0, originY = 0;
    bool transformed = false;
    gxtkVertex batchVertices[kMaxVertices] = {};
    uint16_t quadIndexList[kMaxQuads * 6] = {};
    int batchKind = 0;
    int batchCount = 0;
    gxtkSurface* batchSurface = nullptr;
    // Pixels of the framebuffer at the last BeginRender. Everything the renderer
    // is given is in window units; on a high-density screen the framebuffer
    // holds more pixels than that, and the viewport, the scissor box and
    // read-back all map onto it alike.
    int framebufferWidth = 0;
    int framebufferHeight = 0;

    // Counters for tests and benchmarks: one draw call per glDraw* issued.
    long drawCalls = 0;
    long verticesDrawn = 0;

    gxtkGraphics();
    ~gxtkGraphics() override;
    gxtkGraphics(const gxtkGraphics&) = delete;
    gxtkGraphics& operator=(const gxtkGraphics&) = delete;

    virtual int Mode() { return mode; }
    virtual int Width() { return windowWidth; }
    virtual int Height() { return windowHeight; }
    virtual gxtkSurfaceRef LoadSurface(const String& path);
    virtual gxtkSurface* LoadSurface__UNSAFE__(gxtkSurface* surface, const String& path);
    virtual gxtkSurfaceRef CreateSurface(int width, int height);
    virtual int Cls(float r, float g, float b);
    virtual int SetAlpha(float alpha);
    virtual int SetColor(float r, float g, float b);
    virtual int SetBlend(int blend);
    virtual int SetScissor(int x, int y, int w, int h);
    virtual int SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
    virtual int DrawPoint(float x, float y);
    virtual int DrawRect(float x, float y, float w, float h);
    virtual int DrawLine(float x1, float y1, float x2, float y2);
    virtual int DrawOval(float x, float y, float w, float h);
    virtual int DrawPoly(const Array<float>& verts);
    virtual int DrawSurface(gxtkSurface* surface, float x, float y);
    virtual int DrawSurface2(gxtkSurface* surface, float x, float y, int srcx, int srcy, int srcw, int srch);
    virtual int ReadPixels(Array<int>& pixels, int x, int y, int width, int height, int offset, int pitch);
    virtual int WritePixels2(gxtkSurface* surface, const Array<int>& pixels, int x, int y, int width,
                             int height, int offset, int pitch);

    void BeginRender();
    void EndRender();
    void Flush();
    bool Validate();

    // A surface going away draws any pending batch that still uses its texture.
    static void ForgetSurface(gxtkSurface* surface);
    // GL state was changed behind the renderer's back (a texture bound or
    // deleted elsewhere, a new context): the next frame and batch set it all again.
    static void ForgetGLState();

  private:
    gxtkVertex* Append(int kind, int capacity, int verticesEach, gxtkSurface* surface);
    void Put(gxtkVertex* v, float x, float y);
    void PutTextured(gxtkVertex* v, float x, float y, float u, float v2);
    void PackColor();
    // Framebuffer pixels per window unit across and down, 1 before any render.
    double PixelsPerUnitX() const;
    double PixelsPerUnitY() const;
    int FramebufferHeight() const;
};
