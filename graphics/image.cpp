// bb_graphics_Image: a surface cut into equal frames, with a handle and flags;
// images grabbed from another keep it (and so its texture) alive.
#include "graphics/image.h"

int bb_graphics_Image::g_DefaultFlags = 0;

int bb_graphics_Image::m_SetHandle(float x, float y) {
    m_handleX = x;
    m_handleY = y;
    m_imageFlags &= ~CentreHandle;
    return 0;
}

int bb_graphics_Image::m_ApplyFlags(int flags) {
    m_imageFlags = flags;
    if (flags & PadLeftRight) {
        for (bb_graphics_Frame& frame : m_frameList) frame.m_left += 1;
        m_frameWidth -= 2;
    }
    if (flags & PadTopBottom) {
        for (bb_graphics_Frame& frame : m_frameList) frame.m_top += 1;
        m_frameHeight -= 2;
    }
    if (flags & CentreHandle) {
        m_SetHandle(static_cast<float>(m_frameWidth) * 0.5f, static_cast<float>(m_frameHeight) * 0.5f);
    }
    if (m_frameList.size() == 1 && m_frameList[0].m_left == 0 && m_frameList[0].m_top == 0 && m_texSurface &&
        m_frameWidth == m_texSurface->Width() && m_frameHeight == m_texSurface->Height()) {
        m_imageFlags |= WholeSurface;
    }
    return 0;
}

bb_graphics_Image* bb_graphics_Image::m_Init(gxtkSurfaceRef surface, int frameCount, int flags) {
    // A count below one would divide by zero; such an image is one frame.
    if (frameCount < 1) frameCount = 1;
    m_texSurface = std::move(surface);
    m_frameWidth = m_texSurface->Width() / frameCount;
    m_frameHeight = m_texSurface->Height();
    m_frameList.clear();
    m_frameList.reserve(static_cast<size_t>(frameCount));
    for (int i = 0; i < frameCount; ++i) m_frameList.emplace_back(i * m_frameWidth, 0);
    m_ApplyFlags(flags);
    return this;
}

bb_graphics_Image* bb_graphics_Image::m_Grab(int x, int y, int width, int height, int frameCount, int flags,
                                             bb_graphics_ImageRef source) {
    m_atlas = source;
    m_texSurface = source->m_texSurface;
    m_frameWidth = width;
    m_frameHeight = height;
    m_frameList.clear();
    if (frameCount > 0) m_frameList.reserve(static_cast<size_t>(frameCount));

    const bb_graphics_Frame origin =
        source->m_frameList.empty() ? bb_graphics_Frame() : source->m_frameList[0];
    int cx = x;
    int cy = y;
    for (int i = 0; i < frameCount; ++i) {
        if (cx + width > source->m_frameWidth) {
            cx = 0;
            cy += height;
        }
        if (cx < 0 || cy < 0 || cx + width > source->m_frameWidth || cy + height > source->m_frameHeight) {
            Error(String("Image frame outside surface"));
        }
        m_frameList.emplace_back(cx + origin.m_left, cy + origin.m_top);
        cx += width;
    }
    m_ApplyFlags(flags);
    return this;
}

bb_graphics_ImageRef bb_graphics_Image::m_GrabImage(int x, int y, int width, int height, int frameCount,
                                                    int flags) {
    if (m_frameList.size() != 1) return nullptr;
    // An image not held by a shared pointer is passed on without being owned.
    bb_graphics_ImageRef self = weak_from_this().lock();
    if (!self) self = bb_graphics_ImageRef(bb_graphics_ImageRef(), this);
    auto image = std::make_shared<bb_graphics_Image>();
    image->m_Grab(x, y, width, height, frameCount, flags, self);
    return image;
}
