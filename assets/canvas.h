// The pixel store the art is drawn into: a float RGBA canvas (premultiplied),
// colours, and the view that maps one frame's design units to canvas pixels.
#pragma once

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

struct V2 {
    float x = 0, y = 0;
};
inline V2 operator+(V2 a, V2 b) {
    return {a.x + b.x, a.y + b.y};
}
inline V2 operator-(V2 a, V2 b) {
    return {a.x - b.x, a.y - b.y};
}
inline V2 operator*(V2 a, float s) {
    return {a.x * s, a.y * s};
}
inline float dot(V2 a, V2 b) {
    return a.x * b.x + a.y * b.y;
}
inline float cross(V2 a, V2 b) {
    return a.x * b.y - a.y * b.x;
}
inline float length(V2 a) {
    return std::sqrt(dot(a, a));
}
inline V2 rotated(V2 a, float degrees) {
    float r = degrees * 0.017453292f, c = std::cos(r), s = std::sin(r);
    return {a.x * c - a.y * s, a.x * s + a.y * c};
}
inline V2 polar(float degrees, float radius) {
    return rotated({0, -radius}, degrees);
}

inline float clamp01(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}
inline float smooth(float e0, float e1, float v) {
    float t = clamp01((v - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}
inline float lerp(float a, float b, float t) {
    return a + (b - a) * t;
}

// Axis-aligned box in design units.
struct Box {
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    Box grown(float r) const { return {x0 - r, y0 - r, x1 + r, y1 + r}; }
};
inline Box join(Box a, Box b) {
    return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}
inline Box meet(Box a, Box b) {
    return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

// Straight (not premultiplied) colour, channels 0..1.
struct Color {
    float r = 0, g = 0, b = 0, a = 0;
};
inline Color rgb(int r, int g, int b, float a = 1) {
    return {r / 255.0f, g / 255.0f, b / 255.0f, a};
}
inline Color grey(float v, float a = 1) {
    return {v, v, v, a};
}
inline Color mix(Color p, Color q, float t) {
    return {lerp(p.r, q.r, t), lerp(p.g, q.g, t), lerp(p.b, q.b, t), lerp(p.a, q.a, t)};
}
inline Color withAlpha(Color c, float a) {
    return {c.r, c.g, c.b, a};
}
inline Color scaled(Color c, float k) {
    return {c.r * k, c.g * k, c.b * k, c.a};
}

class Canvas {
  public:
    Canvas(int width, int height) : width_(width), height_(height), px_(size_t(width) * height * 4, 0.0f) {}
    int width() const { return width_; }
    int height() const { return height_; }

    // Source-over with coverage; c is straight colour.
    void blend(int x, int y, Color c, float coverage) {
        float a = clamp01(c.a * coverage);
        if (a <= 0) return;
        float* p = &px_[(size_t(y) * width_ + x) * 4];
        float k = 1 - a;
        p[0] = c.r * a + p[0] * k;
        p[1] = c.g * a + p[1] * k;
        p[2] = c.b * a + p[2] * k;
        p[3] = a + p[3] * k;
    }
    // Additive light (for glows that should brighten, not cover).
    void add(int x, int y, Color c, float coverage) {
        float a = clamp01(c.a * coverage);
        if (a <= 0) return;
        float* p = &px_[(size_t(y) * width_ + x) * 4];
        p[0] = std::min(1.0f, p[0] + c.r * a);
        p[1] = std::min(1.0f, p[1] + c.g * a);
        p[2] = std::min(1.0f, p[2] + c.b * a);
        p[3] = std::min(1.0f, p[3] + a * 0.5f);
    }
    // Multiplies alpha and colour inside a rectangle (erasing, fading).
    void fade(int x, int y, float keep) {
        float* p = &px_[(size_t(y) * width_ + x) * 4];
        for (int i = 0; i < 4; ++i) p[i] *= keep;
    }
    const float* pixel(int x, int y) const { return &px_[(size_t(y) * width_ + x) * 4]; }

    void clear() { std::fill(px_.begin(), px_.end(), 0.0f); }

    // 8-bit straight RGBA; fully transparent pixels are stored as 0,0,0,0.
    std::vector<unsigned char> rgba8() const;
    // The same, written into a larger 8-bit image at (ox, oy).
    void copyTo(std::vector<unsigned char>& rgba, int stridePixels, int ox, int oy) const;

  private:
    int width_, height_;
    std::vector<float> px_;
};

bool writePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgba);

// One frame of a sheet: its pixel rectangle and the design-unit scale.
struct View {
    Canvas* canvas = nullptr;
    int x0 = 0, y0 = 0, w = 0, h = 0;
    float scale = 1; // pixels per design unit
    float unitW() const { return w / scale; }
    float unitH() const { return h / scale; }
    float pixel() const { return 1 / scale; } // one pixel in design units
};
