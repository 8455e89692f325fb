// gxtkGraphics: batches points, lines, quads and textured quads into one
// client-side vertex array and draws them with as few GL calls as the kind,
// surface, blend and scissor allow. Ovals and polygons are drawn at once.
#include "graphics/gxtk_graphics.h"

#include "runtime/platform.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr int kPoints = 1;
constexpr int kLines = 2;
constexpr int kQuads = 4;
constexpr int kFan = 5;

// Every live renderer, so a surface dropped mid-frame can get its batch drawn.
// Never destroyed: surfaces may still go away while the process exits.
std::vector<gxtkGraphics*>& Renderers() {
    static auto* renderers = new std::vector<gxtkGraphics*>();
    return *renderers;
}

// The GL state the renderer last set. Only the renderer draws, so a state
// already in place is not set again: llvmpipe treats every texture enable,
// bind or blend change as new state to validate, and a texture switched off
// and on between batches costs it fresh per-frame buffers. Code that changes
// any of it elsewhere calls gxtkGraphics::ForgetGLState. -1 (or kUnknown for
// the texture name) is a state not known, set at its next use.
constexpr unsigned int kUnknown = ~0u;
struct CachedGLState {
    int textureEnabled = -1;
    unsigned int boundTexture = kUnknown;
    int blend = -1;
    int scissorEnabled = -1;
    bool scissorBoxKnown = false;
    int scissorBox[4] = {0, 0, 0, 0};
    // The frame state BeginRender sets: client arrays pointing into this
    // renderer's batch, blending on, and the viewport and projection of these
    // sizes. It stays from frame to frame; only a change is set again.
    const gxtkGraphics* arraysOf = nullptr;
    int viewport[2] = {-1, -1};
    int projection[2] = {-1, -1};
};
CachedGLState glState;

void EnableTexture(unsigned int texture) {
    if (glState.textureEnabled != 1) {
        glEnable(GL_TEXTURE_2D);
        glState.textureEnabled = 1;
    }
    if (glState.boundTexture != texture) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glState.boundTexture = texture;
    }
}

void DisableTexture() {
    if (glState.textureEnabled == 0) return;
    glDisable(GL_TEXTURE_2D);
    glState.textureEnabled = 0;
}

uint8_t ColorByte(float value) {
    // The caller keeps colour and alpha in range; this only guards the byte.
    if (!(value > 0.0f)) return 0;
    if (value >= 255.0f) return 255;
    return static_cast<uint8_t>(static_cast<int>(value));
}

} // namespace

gxtkGraphics::gxtkGraphics() {
    for (int q = 0; q < kMaxQuads; ++q) {
        uint16_t k = static_cast<uint16_t>(q * 4);
        uint16_t* index = &quadIndexList[q * 6];
        index[0] = k;
        index[1] = static_cast<uint16_t>(k + 1);
        index[2] = static_cast<uint16_t>(k + 2);
        index[3] = k;
        index[4] = static_cast<uint16_t>(k + 2);
        index[5] = static_cast<uint16_t>(k + 3);
    }
    Renderers().push_back(this);
    // A new renderer usually comes with a new context, whose state is GL's defaults.
    ForgetGLState();
}

gxtkGraphics::~gxtkGraphics() {
    auto& renderers = Renderers();
    renderers.erase(std::remove(renderers.begin(), renderers.end(), this), renderers.end());
}

void gxtkGraphics::ForgetGLState() {
    glState = CachedGLState();
}

void gxtkGraphics::ForgetSurface(gxtkSurface* surface) {
    for (gxtkGraphics* renderer : Renderers()) {
        if (renderer->batchSurface != surface) continue;
        renderer->Flush();
        renderer->batchSurface = nullptr;
        renderer->batchKind = 0;
    }
}

bool gxtkGraphics::Validate() {
    windowWidth = 0;
    windowHeight = 0;
    if (gxtk_platform) gxtk_platform->WindowSize(&windowWidth, &windowHeight);
    return windowWidth > 0 && windowHeight > 0;
}

void gxtkGraphics::BeginRender() {
    if (mode == 0) return;
    framebufferWidth = windowWidth;
    framebufferHeight = windowHeight;
    if (gxtk_platform) gxtk_platform->FramebufferSize(&framebufferWidth, &framebufferHeight);
    // What the last frame left in place is not set again: llvmpipe revalidates
    // whatever is touched, and a texture switched off here and on again at the
    // first sprite cost it a fresh fragment state every frame.
    if (glState.viewport[0] != framebufferWidth || glState.viewport[1] != framebufferHeight) {
        glViewport(0, 0, framebufferWidth, framebufferHeight);
        glState.viewport[0] = framebufferWidth;
        glState.viewport[1] = framebufferHeight;
    }
    if (glState.projection[0] != windowWidth || glState.projection[1] != windowHeight) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, windowWidth, windowHeight, 0, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glState.projection[0] = windowWidth;
        glState.projection[1] = windowHeight;
    }
    if (glState.arraysOf != this) {
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glVertexPointer(2, GL_FLOAT, sizeof(gxtkVertex), &batchVertices[0].x);
        glTexCoordPointer(2, GL_FLOAT, sizeof(gxtkVertex), &batchVertices[0].u);
        glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(gxtkVertex), batchVertices[0].rgba);
        glEnable(GL_BLEND);
        glState.arraysOf = this;
    }
    // Every frame starts with alpha blending, whatever the last one ended with.
    if (glState.blend != 0) {
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        glState.blend = 0;
    }
    batchCount = 0;
}

void gxtkGraphics::EndRender() {
    if (mode == 0) return;
    Flush();
    if (gxtk_platform) gxtk_platform->SwapBuffers();
}

void gxtkGraphics::Flush() {
    if (batchCount == 0) return;
    if (batchSurface) {
        EnableTexture(batchSurface->textureName);
    } else {
        DisableTexture();
    }
    int vertices = 0;
    switch (batchKind) {
    case kPoints:
        vertices = batchCount;
        glDrawArrays(GL_POINTS, 0, vertices);
        break;
    case kLines:
        vertices = batchCount * 2;
        glDrawArrays(GL_LINES, 0, vertices);
        break;
    case kQuads:
        vertices = batchCount * 4;
        // The range spares the driver a scan of the indices for the vertices to fetch.
        glDrawRangeElements(GL_TRIANGLES, 0, static_cast<GLuint>(vertices - 1), batchCount * 6,
                            GL_UNSIGNED_SHORT, quadIndexList);
        break;
    case kFan:
        vertices = batchCount;
        glDrawArrays(GL_TRIANGLE_FAN, 0, vertices);
        break;
    }
    ++drawCalls;
    verticesDrawn += vertices;
    batchCount = 0;
}

int gxtkGraphics::Cls(float r, float g, float b) {
    batchCount = 0;
    glClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    return 0;
}

void gxtkGraphics::PackColor() {
    packedColor[0] = ColorByte(red * alpha);
    packedColor[1] = ColorByte(green * alpha);
    packedColor[2] = ColorByte(blue * alpha);
    packedColor[3] = ColorByte(255.0f * alpha);
}

int gxtkGraphics::SetAlpha(float a) {
    alpha = a;
    PackColor();
    return 0;
}

int gxtkGraphics::SetColor(float r, float g, float b) {
    red = r;
    green = g;
    blue = b;
    PackColor();
    return 0;
}

int gxtkGraphics::SetBlend(int blend) {
    Flush();
    const int wanted = blend == 1 ? 1 : 0;
    if (glState.blend == wanted) return 0;
    if (wanted == 1) {
        glBlendFunc(GL_ONE, GL_ONE);
    } else {
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    }
    glState.blend = wanted;
    return 0;
}

double gxtkGraphics::PixelsPerUnitX() const {
    if (windowWidth <= 0 || framebufferWidth <= 0) return 1;
    return static_cast<double>(framebufferWidth) / windowWidth;
}

double gxtkGraphics::PixelsPerUnitY() const {
    if (windowHeight <= 0 || framebufferHeight <= 0) return 1;
    return static_cast<double>(framebufferHeight) / windowHeight;
}

int gxtkGraphics::FramebufferHeight() const {
    return framebufferHeight > 0 ? framebufferHeight : windowHeight;
}

namespace {

// A window-unit coordinate as a framebuffer pixel edge, kept where GL can take it.
int ToPixels(long long units, double pixelsPerUnit) {
    double pixels = std::round(static_cast<double>(units) * pixelsPerUnit);
    return static_cast<int>(std::clamp(pixels, -1e9, 1e9));
}

} // namespace

int gxtkGraphics::SetScissor(int x, int y, int w, int h) {
    Flush();
    if (x == 0 && y == 0 && w == Width() && h == Height()) {
        if (glState.scissorEnabled != 0) glDisable(GL_SCISSOR_TEST);
        glState.scissorEnabled = 0;
        return 0;
    }
    // A negative size would be refused by GL and keep the old box; it shows nothing.
    w = std::max(w, 0);
    h = std::max(h, 0);
    const double across = PixelsPerUnitX(), down = PixelsPerUnitY();
    const long long bottom = static_cast<long long>(Height()) - y - h;
    const int left = ToPixels(x, across), right = ToPixels(static_cast<long long>(x) + w, across);
    const int low = ToPixels(bottom, down), high = ToPixels(bottom + h, down);
    const int box[4] = {left, low, right - left, high - low};
    if (glState.scissorEnabled != 1) glEnable(GL_SCISSOR_TEST);
    glState.scissorEnabled = 1;
    if (!glState.scissorBoxKnown || std::memcmp(box, glState.scissorBox, sizeof box) != 0) {
        glScissor(box[0], box[1], box[2], box[3]);
        std::memcpy(glState.scissorBox, box, sizeof box);
        glState.scissorBoxKnown = true;
    }
    return 0;
}

int gxtkGraphics::SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) {
    xAxisX = ix;
    xAxisY = iy;
    yAxisX = jx;
    yAxisY = jy;
    originX = tx;
    originY = ty;
    transformed = !(ix == 1 && iy == 0 && jx == 0 && jy == 1 && tx == 0 && ty == 0);
    return 0;
}

gxtkVertex* gxtkGraphics::Append(int kind, int capacity, int verticesEach, gxtkSurface* surface) {
    if (batchKind != kind || batchCount == capacity || batchSurface != surface) {
        Flush();
        batchKind = kind;
        batchSurface = surface;
    }
    gxtkVertex* first = &batchVertices[batchCount * verticesEach];
    ++batchCount;
    return first;
}

void gxtkGraphics::Put(gxtkVertex* v, float x, float y) {
    if (transformed) {
        v->x = x * xAxisX + y * yAxisX + originX;
        v->y = x * xAxisY + y * yAxisY + originY;
    } else {
        v->x = x;
        v->y = y;
    }
    std::memcpy(v->rgba, packedColor, 4);
}

void gxtkGraphics::PutTextured(gxtkVertex* v, float x, float y, float u, float v2) {
    Put(v, x, y);
    v->u = u;
    v->v = v2;
}

int gxtkGraphics::DrawPoint(float x, float y) {
    Put(Append(kPoints, kMaxVertices, 1, nullptr), x, y);
    return 0;
}

int gxtkGraphics::DrawLine(float x1, float y1, float x2, float y2) {
    gxtkVertex* v = Append(kLines, kMaxVertices / 2, 2, nullptr);
    Put(v, x1, y1);
    Put(v + 1, x2, y2);
    return 0;
}

int gxtkGraphics::DrawRect(float x, float y, float w, float h) {
    gxtkVertex* v = Append(kQuads, kMaxQuads, 4, nullptr);
    Put(v, x, y);
    Put(v + 1, x + w, y);
    Put(v + 2, x + w, y + h);
    Put(v + 3, x, y + h);
    return 0;
}

int gxtkGraphics::DrawSurface(gxtkSurface* surface, float x, float y) {
    float w = static_cast<float>(surface->Width());
    float h = static_cast<float>(surface->Height());
    float u = w * surface->texScaleU;
    float v = h * surface->texScaleV;
    gxtkVertex* q = Append(kQuads, kMaxQuads, 4, surface);
    PutTextured(q, x, y, 0, 0);
    PutTextured(q + 1, x + w, y, u, 0);
    PutTextured(q + 2, x + w, y + h, u, v);
    PutTextured(q + 3, x, y + h, 0, v);
    return 0;
}

int gxtkGraphics::DrawSurface2(gxtkSurface* surface, float x, float y, int srcx, int srcy, int srcw,
                               int srch) {
    float w = static_cast<float>(srcw);
    float h = static_cast<float>(srch);
    float u0 = static_cast<float>(srcx) * surface->texScaleU;
    float v0 = static_cast<float>(srcy) * surface->texScaleV;
    float u1 = static_cast<float>(srcx + srcw) * surface->texScaleU;
    float v1 = static_cast<float>(srcy + srch) * surface->texScaleV;
    gxtkVertex* q = Append(kQuads, kMaxQuads, 4, surface);
    PutTextured(q, x, y, u0, v0);
    PutTextured(q + 1, x + w, y, u1, v0);
    PutTextured(q + 2, x + w, y + h, u1, v1);
    PutTextured(q + 3, x, y + h, u0, v1);
    return 0;
}

int gxtkGraphics::DrawOval(float x, float y, float w, float h) {
    Flush();
    batchKind = kFan;
    batchSurface = nullptr;

    float xr = w * 0.5f;
    float yr = h * 0.5f;
    float size;
    if (transformed) {
        size = std::hypot(xr * xAxisX, xr * xAxisY) + std::hypot(yr * yAxisX, yr * yAxisY);
    } else {
        size = std::fabs(std::trunc(xr)) + std::fabs(std::trunc(yr));
    }
    // Compared as floats so huge or undefined sizes never reach an int conversion.
    int n;
    if (!(size >= 12.0f)) {
        n = 12;
    } else if (size >= 1025.0f) {
        n = kMaxVertices;
    } else {
        n = static_cast<int>(size) & ~3;
    }

    float cx = x + xr;
    float cy = y + yr;
    for (int i = 0; i < n; ++i) {
        float theta = static_cast<float>(i) * 6.2831855f / static_cast<float>(n);
        Put(&batchVertices[i], cx + xr * std::cos(theta), cy - yr * std::sin(theta));
    }
    batchCount = n;
    Flush();
    return 0;
}

int gxtkGraphics::DrawPoly(const Array<float>& verts) {
    int n = verts.Length() / 2;
    if (n < 3 || n > kMaxVertices) return 0;
    Flush();
    batchKind = kFan;
    batchSurface = nullptr;
    for (int i = 0; i < n; ++i) Put(&batchVertices[i], verts[i * 2], verts[i * 2 + 1]);
    batchCount = n;
    Flush();
    return 0;
}

namespace {

// True when width x height elements from offset with pitch stay inside an
// array of length. Rows may not overlap, so the rectangle never holds more
// elements than the array: no pitch makes a huge height cheap to ask for.
bool FitsArray(int length, int width, int height, int offset, int pitch) {
    if (width <= 0 || height <= 0 || offset < 0) return false;
    if (height > 1 && pitch < width) return false;
    long long last = static_cast<long long>(offset) + static_cast<long long>(height - 1) * pitch + width;
    return last <= length;
}

// Bytes B, G, R, A (the int 0xAARRGGBB) from R, G, B, A, and back.
uint32_t SwapRedBlue(uint32_t pixel) {
    return (pixel & 0xff00ff00u) | ((pixel >> 16) & 0xffu) | ((pixel & 0xffu) << 16);
}

} // namespace

int gxtkGraphics::ReadPixels(Array<int>& pixels, int x, int y, int width, int height, int offset, int pitch) {
    Flush();
    if (!FitsArray(pixels.Length(), width, height, offset, pitch)) return 0;
    // Each element takes the framebuffer pixel under the centre of its window
    // unit: one pixel per unit however dense the screen.
    const double across = PixelsPerUnitX(), down = PixelsPerUnitY();
    auto column = [&](int c) { return static_cast<long long>(std::floor((0.5 + x + c) * across)); };
    auto rowFromTop = [&](int r) { return static_cast<long long>(std::floor((0.5 + y + r) * down)); };
    const long long left = column(0), top = rowFromTop(0), bottom = rowFromTop(height - 1);
    const long long readWidth = column(width - 1) - left + 1, readHeight = bottom - top + 1;
    std::vector<uint32_t> buffer(static_cast<size_t>(readWidth) * static_cast<size_t>(readHeight));
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    // RGBA is the one read-back format every GL offers (WebGL refuses BGRA).
    glReadPixels(static_cast<GLint>(left), static_cast<GLint>(FramebufferHeight() - 1 - bottom),
                 static_cast<GLsizei>(readWidth), static_cast<GLsizei>(readHeight), GL_RGBA, GL_UNSIGNED_BYTE,
                 buffer.data());
    // GL delivers the bottom row first; the caller wants the top row first.
    for (int row = 0; row < height; ++row) {
        const uint32_t* source =
            &buffer[static_cast<size_t>(bottom - rowFromTop(row)) * static_cast<size_t>(readWidth)];
        int* target = &pixels[offset + row * pitch];
        for (int c = 0; c < width; ++c) target[c] = static_cast<int>(SwapRedBlue(source[column(c) - left]));
    }
    return 0;
}

int gxtkGraphics::WritePixels2(gxtkSurface* surface, const Array<int>& pixels, int x, int y, int width,
                               int height, int offset, int pitch) {
    Flush();
    if (!surface || surface->textureName == 0) return 0;
    if (!FitsArray(pixels.Length(), width, height, offset, pitch)) return 0;
    std::vector<uint32_t> buffer(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            uint32_t argb = static_cast<uint32_t>(pixels[offset + row * pitch + col]);
            uint32_t a = argb >> 24;
            uint32_t r = ((argb >> 16) & 0xff) * a / 255;
            uint32_t g = ((argb >> 8) & 0xff) * a / 255;
            uint32_t b = (argb & 0xff) * a / 255;
            buffer[static_cast<size_t>(row) * static_cast<size_t>(width) + static_cast<size_t>(col)] =
                (a << 24) | (b << 16) | (g << 8) | r;
        }
    }
    glBindTexture(GL_TEXTURE_2D, surface->textureName);
    glState.boundTexture = surface->textureName;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, buffer.data());
    return 0;
}
