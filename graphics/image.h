// The framework's drawing interface: images cut into frames with a handle and
// flags, the one drawing context with its matrix stack, and the bb_graphics_*
// module functions the game draws through.
#pragma once

#include "graphics/gxtk_graphics.h"
#include "runtime/runtime.h"

#include <memory>
#include <vector>

class bb_graphics_Frame : public Object {
  public:
    int m_left = 0;
    int m_top = 0;
    bb_graphics_Frame() = default;
    bb_graphics_Frame(int left, int top) : m_left(left), m_top(top) {}
};

class bb_graphics_Image;
using bb_graphics_ImageRef = std::shared_ptr<bb_graphics_Image>;

class bb_graphics_Image : public Object, public std::enable_shared_from_this<bb_graphics_Image> {
  public:
    static constexpr int CentreHandle = 1;
    static constexpr int PadLeftRight = 2;
    static constexpr int PadTopBottom = 4;
    static constexpr int WholeSurface = 65536;
    static int g_DefaultFlags;

    gxtkSurfaceRef m_texSurface;
    int m_frameWidth = 0;
    int m_frameHeight = 0;
    std::vector<bb_graphics_Frame> m_frameList;
    int m_imageFlags = 0;
    float m_handleX = 0;
    float m_handleY = 0;
    bb_graphics_ImageRef m_atlas; // keeps the source image (and its texture) alive

    virtual int m_SetHandle(float x, float y);
    virtual int m_ApplyFlags(int flags);
    virtual bb_graphics_Image* m_Init(gxtkSurfaceRef surface, int frameCount, int flags);
    virtual bb_graphics_Image* m_Grab(int x, int y, int width, int height, int frameCount, int flags,
                                      bb_graphics_ImageRef source);
    virtual bb_graphics_ImageRef m_GrabImage(int x, int y, int width, int height, int frameCount, int flags);
};

class bb_graphics_GraphicsContext : public Object {
  public:
    bb_graphics_ImageRef m_defaultFont;
    bb_graphics_ImageRef m_font;
    int m_firstChar = 0;
    int m_matrixDepth = 0;
    float m_xAxisX = 1, m_xAxisY = 0, m_yAxisX = 0, m_yAxisY = 1, m_originX = 0, m_originY = 0;
    bool m_transformed = false;
    bool m_matrixDirty = false;
    float m_red = 0, m_green = 0, m_blue = 0;
    float m_alpha = 0;
    int m_blend = 0;
    float m_scissorX = 0, m_scissorY = 0, m_scissorWidth = 0, m_scissorHeight = 0;
    Array<float> m_matrixStack{192};

    virtual int m_Validate();
};

extern bb_graphics_GraphicsContext* bb_graphics_context;
extern gxtkGraphics* bb_graphics_device;
extern gxtkGraphics* bb_graphics_renderDevice;

int bb_graphics_SetGraphicsDevice(gxtkGraphics* device);

bb_graphics_ImageRef bb_graphics_LoadImage(const String& path, int frameCount, int flags);
bb_graphics_ImageRef bb_graphics_LoadImage2(const String& path, int frameWidth, int frameHeight,
                                            int frameCount, int flags);
int bb_graphics_SetFont(bb_graphics_ImageRef font, int firstChar);

int bb_graphics_SetColor(float r, float g, float b);
int bb_graphics_SetAlpha(float alpha);
int bb_graphics_SetBlend(int blend);
int bb_graphics_SetScissor(float x, float y, float width, float height);
int bb_graphics_SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
int bb_graphics_SetMatrix2(const Array<float>& m);
int bb_graphics_Transform(float ix, float iy, float jx, float jy, float tx, float ty);
int bb_graphics_Transform2(const Array<float>& m);
int bb_graphics_Translate(float x, float y);
int bb_graphics_Scale(float x, float y);
int bb_graphics_Rotate(float degrees);
int bb_graphics_PushMatrix();
int bb_graphics_PopMatrix();
int bb_graphics_DeviceWidth();
int bb_graphics_DeviceHeight();
int bb_graphics_BeginRender();
int bb_graphics_EndRender();

int bb_graphics_DrawRect(float x, float y, float w, float h);
int bb_graphics_DrawLine(float x1, float y1, float x2, float y2);
int bb_graphics_DrawEllipse(float x, float y, float xr, float yr);
int bb_graphics_DrawImage(bb_graphics_Image* image, float x, float y, int frame);
int bb_graphics_DrawImage2(bb_graphics_Image* image, float x, float y, float rotation, float scaleX,
                           float scaleY, int frame);
