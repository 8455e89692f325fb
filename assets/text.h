// Lettering for the art: outlines of a TrueType font turned into a distance
// field at a view's resolution, and a cache that stores any costly shape's
// distances per pixel so several layers (glow, rim, fill) can share them.
#pragma once

#include "shapes.h"

#include <memory>
#include <string>
#include <vector>

// Distances of a shape sampled once at the pixel centres of a view.
struct Field {
    int gx0 = 0, gy0 = 0, gw = 0, gh = 0;
    float scale = 1, outside = 0;
    std::shared_ptr<std::vector<float>> d;
    float operator()(V2 p) const {
        int ix = int(std::floor(p.x * scale)) - gx0, iy = int(std::floor(p.y * scale)) - gy0;
        if (ix < 0 || iy < 0 || ix >= gw || iy >= gh) return outside;
        return (*d)[size_t(iy) * gw + ix];
    }
};

template <class S> Shape<Field> cache(const View& v, const S& s, float pad) {
    Box b = s.box.grown(pad);
    Field f;
    f.scale = v.scale;
    f.outside = pad;
    f.gx0 = int(std::floor(b.x0 * v.scale)) - 1;
    f.gy0 = int(std::floor(b.y0 * v.scale)) - 1;
    f.gw = int(std::ceil(b.x1 * v.scale)) + 1 - f.gx0;
    f.gh = int(std::ceil(b.y1 * v.scale)) + 1 - f.gy0;
    f.d = std::make_shared<std::vector<float>>(size_t(f.gw) * f.gh);
    float inv = 1 / v.scale;
    for (int y = 0; y < f.gh; ++y)
        for (int x = 0; x < f.gw; ++x)
            (*f.d)[size_t(y) * f.gw + x] =
                std::min(pad, s(V2{(f.gx0 + x + 0.5f) * inv, (f.gy0 + y + 0.5f) * inv}));
    return {f, b};
}

// Flattened glyph outlines of a line of text, in design units.
struct Outline {
    struct Glyph {
        Box box;
        int first = 0, count = 0;
    };
    std::vector<V2> a, b; // segment ends
    std::vector<Glyph> glyphs;
    Box box{1e30f, 1e30f, -1e30f, -1e30f};
    float operator()(V2 p) const;
};

class TrueType {
  public:
    TrueType();
    TrueType(TrueType&&) noexcept;
    ~TrueType();
    // Loads the first font of a .ttf file; false when it cannot be read.
    bool load(const std::string& path);
    // One line of text centred on c; capHeight is the height of capitals,
    // tracking extra space between letters (both in design units), slant
    // the horizontal shear per unit of height (0.2 leans right).
    Outline line(const std::string& text, V2 c, float capHeight, float tracking = 0, float slant = 0) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The font used for lettering in the art (DejaVu Sans Bold), loaded once.
const TrueType& letteringFont();

// The capital height at which a line of lettering is at most maxWidth wide.
float fitCapHeight(const std::string& text, float capHeight, float maxWidth, float tracking = 0,
                   float slant = 0);

// Distance field of a line of lettering, ready to fill, outline and glow.
Shape<Field> lettering(const View& v, const std::string& text, V2 c, float capHeight, float pad,
                       float tracking = 0, float slant = 0);
