// Signed-distance shapes in design units (negative inside) with their bounds,
// the ways to combine them, and the rasterisers that turn a shape into
// anti-aliased coverage at the resolution of a view.
#pragma once

#include "canvas.h"

#include <type_traits>
#include <utility>

template <class F> struct Shape {
    F f;
    Box box;
    float operator()(V2 p) const { return f(p); }
};
template <class F> Shape<F> shape(Box box, F f) {
    return {std::move(f), box};
}

// ---- primitives ----

inline auto circle(V2 c, float r) {
    return shape(Box{c.x - r, c.y - r, c.x + r, c.y + r}, [=](V2 p) { return length(p - c) - r; });
}

inline auto ellipse(V2 c, float rx, float ry) {
    return shape(Box{c.x - rx, c.y - ry, c.x + rx, c.y + ry}, [=](V2 p) {
        V2 q = p - c;
        float k0 = length({q.x / rx, q.y / ry});
        float k1 = length({q.x / (rx * rx), q.y / (ry * ry)});
        if (k1 < 1e-6f) return -std::min(rx, ry);
        return k0 * (k0 - 1) / k1;
    });
}

// Rectangle centred on c with half sizes h and corner radius r.
inline auto roundBox(V2 c, V2 h, float r) {
    return shape(Box{c.x - h.x, c.y - h.y, c.x + h.x, c.y + h.y}, [=](V2 p) {
        V2 q{std::fabs(p.x - c.x) - h.x + r, std::fabs(p.y - c.y) - h.y + r};
        V2 o{std::max(q.x, 0.0f), std::max(q.y, 0.0f)};
        return length(o) + std::min(std::max(q.x, q.y), 0.0f) - r;
    });
}

inline float segmentDistance(V2 p, V2 a, V2 b) {
    V2 pa = p - a, ba = b - a;
    float l = dot(ba, ba);
    float t = l > 0 ? clamp01(dot(pa, ba) / l) : 0;
    return length(pa - ba * t);
}

inline auto capsule(V2 a, V2 b, float r) {
    Box box{std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r, std::max(a.y, b.y) + r};
    return shape(box, [=](V2 p) { return segmentDistance(p, a, b) - r; });
}

// Closed polygon, any winding; exact distance, sign by crossings.
struct Polygon {
    static constexpr int kMax = 48;
    V2 pts[kMax];
    int n = 0;
    float operator()(V2 p) const {
        float d = 1e30f;
        bool inside = false;
        for (int i = 0, j = n - 1; i < n; j = i++) {
            V2 a = pts[j], b = pts[i];
            d = std::min(d, segmentDistance(p, a, b));
            if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
                inside = !inside;
        }
        return inside ? -d : d;
    }
};
inline auto polygon(std::initializer_list<V2> pts) {
    Polygon poly;
    Box box{1e30f, 1e30f, -1e30f, -1e30f};
    for (V2 p : pts) {
        if (poly.n < Polygon::kMax) poly.pts[poly.n++] = p;
        box = join(box, Box{p.x, p.y, p.x, p.y});
    }
    return shape(box, poly);
}
inline auto star(V2 c, float outer, float inner, int points, float turn = 0) {
    Polygon poly;
    for (int i = 0; i < points * 2 && i < Polygon::kMax; ++i)
        poly.pts[poly.n++] = c + polar(turn + i * 180.0f / points, i % 2 ? inner : outer);
    return shape(Box{c.x - outer, c.y - outer, c.x + outer, c.y + outer}, poly);
}
inline auto regular(V2 c, float radius, int sides, float turn = 0) {
    Polygon poly;
    for (int i = 0; i < sides && i < Polygon::kMax; ++i)
        poly.pts[poly.n++] = c + polar(turn + i * 360.0f / sides, radius);
    return shape(Box{c.x - radius, c.y - radius, c.x + radius, c.y + radius}, poly);
}

// Part of a ring of radius r and half-thickness t, from angle a0 to a1
// (degrees, clockwise from straight up), with round ends.
inline auto arc(V2 c, float r, float a0, float a1, float t) {
    V2 e0 = c + polar(a0, r), e1 = c + polar(a1, r);
    float mid = (a0 + a1) / 2, half = (a1 - a0) / 2;
    return shape(Box{c.x - r - t, c.y - r - t, c.x + r + t, c.y + r + t}, [=](V2 p) {
        V2 q = p - c;
        float ang = std::atan2(q.x, -q.y) / 0.017453292f - mid;
        ang = std::remainder(ang, 360.0f);
        if (std::fabs(ang) <= half) return std::fabs(length(q) - r) - t;
        return std::min(length(p - e0), length(p - e1)) - t;
    });
}

// ---- combinators ----

template <class A, class B> auto unite(A a, B b) {
    return shape(join(a.box, b.box), [=](V2 p) { return std::min(a(p), b(p)); });
}
template <class A, class B, class... R> auto unite(A a, B b, R... rest) {
    return unite(unite(a, b), rest...);
}
template <class A, class B> auto cut(A a, B b) {
    return shape(a.box, [=](V2 p) { return std::max(a(p), -b(p)); });
}
template <class A, class B> auto intersect(A a, B b) {
    return shape(meet(a.box, b.box), [=](V2 p) { return std::max(a(p), b(p)); });
}
template <class A> auto grow(A a, float r) {
    return shape(a.box.grown(std::max(r, 0.0f)), [=](V2 p) { return a(p) - r; });
}
template <class A> auto outline(A a, float halfWidth) {
    return shape(a.box.grown(halfWidth), [=](V2 p) { return std::fabs(a(p)) - halfWidth; });
}
template <class A, class B> auto blendUnion(A a, B b, float k) {
    return shape(join(a.box, b.box).grown(k), [=](V2 p) {
        float da = a(p), db = b(p);
        float h = clamp01(0.5f + 0.5f * (db - da) / k);
        return lerp(db, da, h) - k * h * (1 - h);
    });
}
template <class A> auto moved(A a, V2 by) {
    Box b = a.box;
    return shape(Box{b.x0 + by.x, b.y0 + by.y, b.x1 + by.x, b.y1 + by.y}, [=](V2 p) { return a(p - by); });
}
// Rotation about a centre point.
template <class A> auto turned(A a, V2 c, float degrees) {
    Box b = a.box, r{1e30f, 1e30f, -1e30f, -1e30f};
    for (V2 k : {V2{b.x0, b.y0}, V2{b.x1, b.y0}, V2{b.x0, b.y1}, V2{b.x1, b.y1}}) {
        V2 q = c + rotated(k - c, degrees);
        r = join(r, Box{q.x, q.y, q.x, q.y});
    }
    return shape(r, [=](V2 p) { return a(c + rotated(p - c, -degrees)); });
}

// ---- rasterising ----

// Calls f(pixelX, pixelY, point) for every pixel centre of v inside box b.
template <class F> void eachPixel(const View& v, Box b, F f) {
    int x0 = std::max(0, int(std::floor(b.x0 * v.scale)) - 1);
    int y0 = std::max(0, int(std::floor(b.y0 * v.scale)) - 1);
    int x1 = std::min(v.w, int(std::ceil(b.x1 * v.scale)) + 1);
    int y1 = std::min(v.h, int(std::ceil(b.y1 * v.scale)) + 1);
    float inv = 1 / v.scale;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) f(v.x0 + x, v.y0 + y, V2{(x + 0.5f) * inv, (y + 0.5f) * inv});
}

template <class P> Color paintAt(const P& paint, V2 p) {
    if constexpr (std::is_same_v<P, Color>)
        return paint;
    else
        return paint(p);
}

// Anti-aliased fill; paint is a Color or a function of the point.
template <class S, class P> void fill(const View& v, const S& s, const P& paint) {
    eachPixel(v, s.box, [&](int x, int y, V2 p) {
        float cov = clamp01(0.5f - s(p) * v.scale);
        if (cov > 0) v.canvas->blend(x, y, paintAt(paint, p), cov);
    });
}

// Paints every pixel of a box with f(point), a colour with its own alpha.
template <class F> void paint(const View& v, Box b, F f) {
    eachPixel(v, b, [&](int x, int y, V2 p) {
        Color c = f(p);
        if (c.a > 0) v.canvas->blend(x, y, c, 1);
    });
}

// Soft halo around a shape: full colour inside, fading to nothing at radius.
template <class S> void glow(const View& v, const S& s, Color c, float radius, bool additive = false) {
    eachPixel(v, s.box.grown(radius), [&](int x, int y, V2 p) {
        float d = s(p);
        float k = d <= 0 ? 1 : 1 - clamp01(d / radius);
        k = k * k;
        if (k <= 0) return;
        if (additive)
            v.canvas->add(x, y, c, k);
        else
            v.canvas->blend(x, y, c, k);
    });
}

// Drop shadow: the shape moved and blurred into a soft dark pool.
template <class S> void shadow(const View& v, const S& s, V2 offset, float softness, float alpha) {
    glow(v, moved(s, offset), Color{0, 0, 0, alpha}, softness);
}

// ---- paints ----

// Linear gradient along a -> b through colour stops.
struct Gradient {
    V2 a, b;
    Color c0, c1, c2;
    bool three = false;
    Color operator()(V2 p) const {
        V2 ab = b - a;
        float t = clamp01(dot(p - a, ab) / dot(ab, ab));
        if (!three) return mix(c0, c1, t);
        return t < 0.5f ? mix(c0, c1, t * 2) : mix(c1, c2, t * 2 - 1);
    }
};
inline Gradient gradient(V2 a, V2 b, Color c0, Color c1) {
    return {a, b, c0, c1, c1, false};
}
inline Gradient gradient3(V2 a, V2 b, Color c0, Color c1, Color c2) {
    return {a, b, c0, c1, c2, true};
}

struct Radial {
    V2 c;
    float r;
    Color inner, outer;
    Color operator()(V2 p) const { return mix(inner, outer, clamp01(length(p - c) / r)); }
};

// A lit ball: base colour shaded by a light from the upper left, with a
// specular highlight. Used for the tinted sprites (base light grey).
struct Sphere {
    V2 c;
    float r;
    Color base;
    float ambient = 0.45f;
    float shine = 0.8f;
    Color operator()(V2 p) const {
        V2 q = (p - c) * (1 / r);
        float z2 = 1 - dot(q, q);
        float z = z2 > 0 ? std::sqrt(z2) : 0;
        const float lx = -0.45f, ly = -0.55f, lz = 0.70f;
        float diffuse = std::max(0.0f, q.x * lx + q.y * ly + z * lz);
        float light = ambient + (1 - ambient) * diffuse;
        // Reflection of the light about the normal, viewer on +z.
        float rz = 2 * (q.x * lx + q.y * ly + z * lz) * z - lz;
        float highlight = std::pow(std::max(0.0f, rz), 24.0f) * shine;
        Color out = scaled(base, light);
        out.r = std::min(1.0f, out.r + highlight);
        out.g = std::min(1.0f, out.g + highlight);
        out.b = std::min(1.0f, out.b + highlight);
        return out;
    }
};

// Deterministic hash noise in 0..1 for integer lattice points.
inline float hash2(int x, int y, int seed = 0) {
    unsigned h = unsigned(x) * 374761393u + unsigned(y) * 668265263u + unsigned(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xffffff) / float(0x1000000);
}

// Small deterministic generator for placing things.
struct Dice {
    unsigned state;
    explicit Dice(unsigned seed) : state(seed * 2654435761u + 12345u) {}
    float next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return (state & 0xffffff) / float(0x1000000);
    }
    float range(float lo, float hi) { return lo + (hi - lo) * next(); }
};
