// TrueType outlines (through stb_truetype) flattened to segments, and the
// signed distance to them with the non-zero winding rule.
#include "text.h"

#include <stb_truetype.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#ifndef SKITTERBAT_LETTERING_FONT
#define SKITTERBAT_LETTERING_FONT "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
#endif

float Outline::operator()(V2 p) const {
    float best = 1e30f;
    int winding = 0;
    for (const Glyph& g : glyphs) {
        float dx = std::max({g.box.x0 - p.x, 0.0f, p.x - g.box.x1});
        float dy = std::max({g.box.y0 - p.y, 0.0f, p.y - g.box.y1});
        bool inBox = dx == 0 && dy == 0;
        if (!inBox && dx * dx + dy * dy >= best * best) continue;
        for (int i = g.first; i < g.first + g.count; ++i) {
            V2 s = a[size_t(i)], e = b[size_t(i)];
            best = std::min(best, segmentDistance(p, s, e));
            if (inBox && (s.y > p.y) != (e.y > p.y)) {
                float x = s.x + (p.y - s.y) * (e.x - s.x) / (e.y - s.y);
                if (x > p.x) winding += e.y > s.y ? 1 : -1;
            }
        }
    }
    return winding != 0 ? -best : best;
}

struct TrueType::Impl {
    std::vector<unsigned char> data;
    stbtt_fontinfo info{};
};

TrueType::TrueType() : impl_(std::make_unique<Impl>()) {}
TrueType::TrueType(TrueType&&) noexcept = default;
TrueType::~TrueType() = default;

bool TrueType::load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    impl_->data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (impl_->data.empty()) return false;
    return stbtt_InitFont(&impl_->info, impl_->data.data(),
                          stbtt_GetFontOffsetForIndex(impl_->data.data(), 0)) != 0;
}

Outline TrueType::line(const std::string& text, V2 c, float capHeight, float tracking, float slant) const {
    const stbtt_fontinfo* f = &impl_->info;
    int hx0, hy0, hx1, hy1;
    stbtt_GetCodepointBox(f, 'H', &hx0, &hy0, &hx1, &hy1);
    float k = capHeight / float(hy1);

    // Width first, so the line can be centred.
    float width = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        int adv, lsb;
        stbtt_GetCodepointHMetrics(f, text[i], &adv, &lsb);
        width += adv * k + (i + 1 < text.size() ? tracking : 0);
        if (i + 1 < text.size()) width += stbtt_GetCodepointKernAdvance(f, text[i], text[i + 1]) * k;
    }

    Outline out;
    float pen = c.x - width / 2;
    float base = c.y + capHeight / 2;
    auto map = [&](float fx, float fy) {
        float y = base - fy * k;
        return V2{pen + fx * k + (base - y) * slant - capHeight * slant / 2, y};
    };
    for (size_t i = 0; i < text.size(); ++i) {
        stbtt_vertex* verts = nullptr;
        int n = stbtt_GetCodepointShape(f, text[i], &verts);
        Outline::Glyph g;
        g.first = int(out.a.size());
        g.box = {1e30f, 1e30f, -1e30f, -1e30f};
        V2 last{};
        auto add = [&](V2 s, V2 e) {
            out.a.push_back(s);
            out.b.push_back(e);
            g.box = join(g.box,
                         Box{std::min(s.x, e.x), std::min(s.y, e.y), std::max(s.x, e.x), std::max(s.y, e.y)});
        };
        for (int j = 0; j < n; ++j) {
            const stbtt_vertex& v = verts[j];
            V2 to = map(v.x, v.y);
            if (v.type == STBTT_vline) {
                add(last, to);
            } else if (v.type == STBTT_vcurve) {
                V2 ctl = map(v.cx, v.cy);
                V2 prev = last;
                const int steps = 10;
                for (int s = 1; s <= steps; ++s) {
                    float t = float(s) / steps, u = 1 - t;
                    V2 q = last * (u * u) + ctl * (2 * u * t) + to * (t * t);
                    add(prev, q);
                    prev = q;
                }
            } else if (v.type == STBTT_vcubic) {
                V2 c1 = map(v.cx, v.cy), c2 = map(v.cx1, v.cy1);
                V2 prev = last;
                const int steps = 14;
                for (int s = 1; s <= steps; ++s) {
                    float t = float(s) / steps, u = 1 - t;
                    V2 q =
                        last * (u * u * u) + c1 * (3 * u * u * t) + c2 * (3 * u * t * t) + to * (t * t * t);
                    add(prev, q);
                    prev = q;
                }
            }
            last = to;
        }
        stbtt_FreeShape(f, verts);
        g.count = int(out.a.size()) - g.first;
        if (g.count > 0) {
            out.glyphs.push_back(g);
            out.box = join(out.box, g.box);
        }
        int adv, lsb;
        stbtt_GetCodepointHMetrics(f, text[i], &adv, &lsb);
        pen += adv * k + tracking;
        if (i + 1 < text.size()) pen += stbtt_GetCodepointKernAdvance(f, text[i], text[i + 1]) * k;
    }
    return out;
}

const TrueType& letteringFont() {
    static const TrueType font = [] {
        TrueType t;
        if (!t.load(SKITTERBAT_LETTERING_FONT)) {
            std::fprintf(stderr, "cannot read the lettering font %s\n", SKITTERBAT_LETTERING_FONT);
            std::exit(1);
        }
        return t;
    }();
    return font;
}

float fitCapHeight(const std::string& text, float capHeight, float maxWidth, float tracking, float slant) {
    Outline o = letteringFont().line(text, {0, 0}, capHeight, tracking, slant);
    float w = o.box.x1 - o.box.x0;
    return w > maxWidth ? capHeight * maxWidth / w : capHeight;
}

Shape<Field> lettering(const View& v, const std::string& text, V2 c, float capHeight, float pad,
                       float tracking, float slant) {
    auto outline = std::make_shared<Outline>(letteringFont().line(text, c, capHeight, tracking, slant));
    auto s = shape(outline->box, [outline](V2 p) { return (*outline)(p); });
    return cache(v, s, pad);
}
