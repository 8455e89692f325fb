// The drawing context and the bb_graphics_* module functions: loading images,
// the matrix stack composed on the CPU, per-frame state and image drawing.
#include "graphics/image.h"

#include "runtime/datapath.h"

#include <cmath>

bb_graphics_GraphicsContext* bb_graphics_context = nullptr;
gxtkGraphics* bb_graphics_device = nullptr;
gxtkGraphics* bb_graphics_renderDevice = nullptr;

namespace {

bool IsIdentity(float ix, float iy, float jx, float jy, float tx, float ty) {
    return ix == 1 && iy == 0 && jx == 0 && jy == 1 && tx == 0 && ty == 0;
}

struct Affine {
    float ix, iy, jx, jy, tx, ty;
};

Affine ContextMatrix(const bb_graphics_GraphicsContext* c) {
    return Affine{c->m_xAxisX, c->m_xAxisY, c->m_yAxisX, c->m_yAxisY, c->m_originX, c->m_originY};
}

// The given transform acting first, in m's local space. Image draws compose
// their matrix with this same arithmetic, term for term, so they land on
// exactly the pixels a push, transforms and pop would give.
Affine Compose(const Affine& m, float ix, float iy, float jx, float jy, float tx, float ty) {
    return Affine{ix * m.ix + iy * m.jx, ix * m.iy + iy * m.jy,        jx * m.ix + jy * m.jx,
                  jx * m.iy + jy * m.jy, tx * m.ix + ty * m.jx + m.tx, tx * m.iy + ty * m.jy + m.ty};
}

// Sine and cosine of an angle in degrees, taken in double and rounded to float.
void SinCosDegrees(float degrees, float* s, float* c) {
    const double radians = static_cast<double>(degrees) * static_cast<double>(0.017453292f);
    double sine, cosine;
    sincos(radians, &sine, &cosine);
    *s = static_cast<float>(sine);
    *c = static_cast<float>(cosine);
}

void DrawFrame(bb_graphics_Image* image, float x, float y, const bb_graphics_Frame& frame);

// Draws the frame at the local origin of m; the context's own matrix goes to
// the renderer again before the next draw, as after a pop.
void DrawFrameUnder(const Affine& m, bb_graphics_Image* image, const bb_graphics_Frame& frame) {
    bb_graphics_renderDevice->SetMatrix(m.ix, m.iy, m.jx, m.jy, m.tx, m.ty);
    DrawFrame(image, 0, 0, frame);
    bb_graphics_context->m_matrixDirty = true;
}

void DrawFrame(bb_graphics_Image* image, float x, float y, const bb_graphics_Frame& frame) {
    gxtkSurface* surface = image->m_texSurface.get();
    if (image->m_imageFlags & bb_graphics_Image::WholeSurface) {
        bb_graphics_renderDevice->DrawSurface(surface, x, y);
    } else {
        bb_graphics_renderDevice->DrawSurface2(surface, x, y, frame.m_left, frame.m_top, image->m_frameWidth,
                                               image->m_frameHeight);
    }
}

// Images without a surface and frame numbers outside the image draw nothing.
const bb_graphics_Frame* DrawableFrame(bb_graphics_Image* image, int frame) {
    if (!image || !image->m_texSurface) return nullptr;
    if (frame < 0 || static_cast<size_t>(frame) >= image->m_frameList.size()) return nullptr;
    return &image->m_frameList[static_cast<size_t>(frame)];
}

} // namespace

int bb_graphics_GraphicsContext::m_Validate() {
    if (m_matrixDirty) {
        bb_graphics_renderDevice->SetMatrix(m_xAxisX, m_xAxisY, m_yAxisX, m_yAxisY, m_originX, m_originY);
        m_matrixDirty = false;
    }
    return 0;
}

int bb_graphics_SetGraphicsDevice(gxtkGraphics* device) {
    bb_graphics_device = device;
    return 0;
}

bb_graphics_ImageRef bb_graphics_LoadImage(const String& path, int frameCount, int flags) {
    gxtkSurfaceRef surface = bb_graphics_device->LoadSurface(bb_data_FixDataPath(path));
    if (!surface) return nullptr;
    auto image = std::make_shared<bb_graphics_Image>();
    image->m_Init(std::move(surface), frameCount, flags);
    return image;
}

bb_graphics_ImageRef bb_graphics_LoadImage2(const String& path, int frameWidth, int frameHeight,
                                            int frameCount, int flags) {
    bb_graphics_ImageRef atlas = bb_graphics_LoadImage(path, 1, 0);
    if (!atlas) return nullptr;
    return atlas->m_GrabImage(0, 0, frameWidth, frameHeight, frameCount, flags);
}

int bb_graphics_SetFont(bb_graphics_ImageRef font, int firstChar) {
    bb_graphics_GraphicsContext* c = bb_graphics_context;
    if (!font) {
        if (!c->m_defaultFont) c->m_defaultFont = bb_graphics_LoadImage(String("rune_font.png"), 96, 2);
        if (!c->m_defaultFont) {
            c->m_font = nullptr;
            c->m_firstChar = 32;
            return 0;
        }
        font = c->m_defaultFont;
        firstChar = 32;
    }
    c->m_font = std::move(font);
    c->m_firstChar = firstChar;
    return 0;
}

int bb_graphics_SetColor(float r, float g, float b) {
    bb_graphics_context->m_red = r;
    bb_graphics_context->m_green = g;
    bb_graphics_context->m_blue = b;
    bb_graphics_renderDevice->SetColor(r, g, b);
    return 0;
}

int bb_graphics_SetAlpha(float alpha) {
    bb_graphics_context->m_alpha = alpha;
    bb_graphics_renderDevice->SetAlpha(alpha);
    return 0;
}

int bb_graphics_SetBlend(int blend) {
    bb_graphics_context->m_blend = blend;
    bb_graphics_renderDevice->SetBlend(blend);
    return 0;
}

int bb_graphics_SetScissor(float x, float y, float width, float height) {
    bb_graphics_GraphicsContext* c = bb_graphics_context;
    c->m_scissorX = x;
    c->m_scissorY = y;
    c->m_scissorWidth = width;
    c->m_scissorHeight = height;
    bb_graphics_renderDevice->SetScissor(static_cast<int>(x), static_cast<int>(y), static_cast<int>(width),
                                         static_cast<int>(height));
    return 0;
}

int bb_graphics_SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) {
    bb_graphics_GraphicsContext* c = bb_graphics_context;
    c->m_xAxisX = ix;
    c->m_xAxisY = iy;
    c->m_yAxisX = jx;
    c->m_yAxisY = jy;
    c->m_originX = tx;
    c->m_originY = ty;
    c->m_transformed = !IsIdentity(ix, iy, jx, jy, tx, ty);
    c->m_matrixDirty = true;
    return 0;
}

int bb_graphics_SetMatrix2(const Array<float>& m) {
    return bb_graphics_SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]);
}

int bb_graphics_Transform(float ix, float iy, float jx, float jy, float tx, float ty) {
    const Affine m = Compose(ContextMatrix(bb_graphics_context), ix, iy, jx, jy, tx, ty);
    return bb_graphics_SetMatrix(m.ix, m.iy, m.jx, m.jy, m.tx, m.ty);
}

int bb_graphics_Transform2(const Array<float>& m) {
    return bb_graphics_Transform(m[0], m[1], m[2], m[3], m[4], m[5]);
}

int bb_graphics_Translate(float x, float y) {
    return bb_graphics_Transform(1, 0, 0, 1, x, y);
}

int bb_graphics_Scale(float x, float y) {
    return bb_graphics_Transform(x, 0, 0, y, 0, 0);
}

int bb_graphics_Rotate(float degrees) {
    float s, c;
    SinCosDegrees(degrees, &s, &c);
    return bb_graphics_Transform(c, -s, s, c, 0, 0);
}

int bb_graphics_PushMatrix() {
    bb_graphics_GraphicsContext* c = bb_graphics_context;
    // Past the stack's end would overwrite memory; unbalanced pushes are a fault in the caller.
    if (c->m_matrixDepth + 6 > c->m_matrixStack.Length()) Error(String("Matrix stack overflow"));
    float* slot = &c->m_matrixStack[c->m_matrixDepth];
    slot[0] = c->m_xAxisX;
    slot[1] = c->m_xAxisY;
    slot[2] = c->m_yAxisX;
    slot[3] = c->m_yAxisY;
    slot[4] = c->m_originX;
    slot[5] = c->m_originY;
    c->m_matrixDepth += 6;
    return 0;
}

int bb_graphics_PopMatrix() {
    bb_graphics_GraphicsContext* c = bb_graphics_context;
    if (c->m_matrixDepth < 6) Error(String("Matrix stack underflow"));
    c->m_matrixDepth -= 6;
    const float* slot = &c->m_matrixStack[c->m_matrixDepth];
    return bb_graphics_SetMatrix(slot[0], slot[1], slot[2], slot[3], slot[4], slot[5]);
}

int bb_graphics_DeviceWidth() {
    return bb_graphics_device->Width();
}

int bb_graphics_DeviceHeight() {
    return bb_graphics_device->Height();
}

int bb_graphics_BeginRender() {
    if (bb_graphics_device->Mode() == 0) return 0;
    bb_graphics_GraphicsContext* c = bb_graphics_context;
    bb_graphics_renderDevice = bb_graphics_device;
    c->m_matrixDepth = 0;
    bb_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
    bb_graphics_SetColor(255, 255, 255);
    bb_graphics_SetAlpha(1);
    bb_graphics_SetBlend(0);
    bb_graphics_SetScissor(0, 0, static_cast<float>(bb_graphics_DeviceWidth()),
                           static_cast<float>(bb_graphics_DeviceHeight()));
    return 0;
}

int bb_graphics_EndRender() {
    bb_graphics_renderDevice = nullptr;
    return 0;
}

int bb_graphics_DrawRect(float x, float y, float w, float h) {
    bb_graphics_context->m_Validate();
    bb_graphics_renderDevice->DrawRect(x, y, w, h);
    return 0;
}

int bb_graphics_DrawLine(float x1, float y1, float x2, float y2) {
    bb_graphics_context->m_Validate();
    bb_graphics_renderDevice->DrawLine(x1, y1, x2, y2);
    return 0;
}

int bb_graphics_DrawEllipse(float x, float y, float xr, float yr) {
    bb_graphics_context->m_Validate();
    bb_graphics_renderDevice->DrawOval(x - xr, y - yr, xr * 2, yr * 2);
    return 0;
}

int bb_graphics_DrawImage(bb_graphics_Image* image, float x, float y, int frame) {
    const bb_graphics_Frame* f = DrawableFrame(image, frame);
    if (!f) return 0;
    bb_graphics_GraphicsContext* c = bb_graphics_context;
    if (c->m_transformed) {
        DrawFrameUnder(Compose(ContextMatrix(c), 1, 0, 0, 1, x - image->m_handleX, y - image->m_handleY),
                       image, *f);
    } else {
        c->m_Validate();
        DrawFrame(image, x - image->m_handleX, y - image->m_handleY, *f);
    }
    return 0;
}

int bb_graphics_DrawImage2(bb_graphics_Image* image, float x, float y, float rotation, float scaleX,
                           float scaleY, int frame) {
    const bb_graphics_Frame* f = DrawableFrame(image, frame);
    if (!f) return 0;
    float s, c;
    SinCosDegrees(rotation, &s, &c);
    Affine m = Compose(ContextMatrix(bb_graphics_context), 1, 0, 0, 1, x, y);
    m = Compose(m, c, -s, s, c, 0, 0);
    m = Compose(m, scaleX, 0, 0, scaleY, 0, 0);
    m = Compose(m, 1, 0, 0, 1, -image->m_handleX, -image->m_handleY);
    DrawFrameUnder(m, image, *f);
    return 0;
}
