// The layered title art behind the main menu: 0 a dusk sky over a neon grid
// floor (drawn three times enlarged, filling the screen), 1 foreground props
// along the bottom edge (three times), 2 a skyline of giant mushrooms on the
// horizon (twice, repeated side by side across the screen: no cap, nor its
// glow, crosses the frame's sides). In frames 0 and 1 only rows 48..208 and
// columns 21..235 reach the screen at 640 x 480; the horizon lies on row 150
// of frame 0.
#include "art.h"

namespace {

constexpr float kHorizon = 150;

void sky(const View& v) {
    paint(v, {0, 0, 256, 256}, [&](V2 p) {
        if (p.y < kHorizon) {
            float t = smooth(30, kHorizon, p.y);
            Color c = mix(rgb(8, 6, 70), rgb(120, 30, 140), t * t);
            c = mix(c, rgb(255, 110, 120), smooth(kHorizon - 14, kHorizon, p.y) * 0.7f);
            return c;
        }
        // Floor: dark violet, lit near the horizon, under a perspective grid
        // whose lines meet a little above the horizon.
        float d = p.y - kHorizon;
        Color c = mix(rgb(70, 20, 110), rgb(12, 4, 40), smooth(0, 40, d));
        const Color grid = rgb(255, 70, 220);
        float t = d / (256 - kHorizon), spacing = 4 + 36 * t;
        float k = (p.x - 128) / spacing;
        if (std::fabs(k) < 14.5f) {
            float slope = 36 * std::round(k) / (256 - kHorizon);
            float dist = std::fabs(k - std::round(k)) * spacing / std::sqrt(1 + slope * slope);
            c = mix(c, grid, 0.7f * clamp01(0.5f - (dist - 0.35f) * v.scale));
        }
        for (int i = 0; i < 9; ++i) {
            float y = kHorizon + 1.5f * std::pow(1.55f, float(i));
            float dist = std::fabs(p.y - y) - (0.3f + i * 0.06f);
            c = mix(c, grid, (0.45f + 0.05f * i) * clamp01(0.5f - dist * v.scale));
        }
        return c;
    });
    Dice dice(11);
    for (int i = 0; i < 90; ++i) {
        V2 p{dice.range(0, 256), dice.range(40, kHorizon - 20)};
        float r = dice.range(0.25f, 0.7f);
        float a = dice.range(0.3f, 0.9f) * (1 - smooth(70, kHorizon - 20, p.y));
        fill(v, circle(p, r), withAlpha(palette::kWhite, a));
    }
    // The sun, banded, sinking into the floor.
    const V2 sc{128, kHorizon - 4};
    auto sun = intersect(circle(sc, 38), roundBox({128, 0}, {60, kHorizon}, 0));
    glow(v, sun, rgb(255, 120, 140, 0.35f), 24);
    fill(v, sun, gradient({0, sc.y - 38}, {0, kHorizon}, rgb(255, 240, 120), rgb(255, 60, 160)));
    for (int i = 0; i < 6; ++i) {
        float y = sc.y - 20 + i * i * 0.9f + i * 2.5f;
        fill(v, intersect(sun, roundBox({128, y}, {40, 0.3f + i * 0.28f}, 0)), rgb(150, 30, 140));
    }
    auto line = roundBox({128, kHorizon}, {130, 0.6f}, 0);
    glow(v, line, rgb(255, 150, 200, 0.6f), 4);
    fill(v, line, rgb(255, 220, 240));
}

void foreground(const View& v) {
    // Left cluster.
    mushroomProp(v, {34, 214}, 38, rgb(255, 70, 120), rgb(240, 220, 200), 6);
    mushroomProp(v, {56, 212}, 20, rgb(80, 230, 255), rgb(230, 230, 240), 4);
    mushroomProp(v, {18, 211}, 17, rgb(255, 220, 70), rgb(230, 220, 200), 4);
    // A small one on the right, under the score panel.
    mushroomProp(v, {196, 211}, 22, rgb(150, 110, 255), rgb(230, 220, 240), 4);
    // Centipede crossing the front.
    std::vector<V2> path;
    for (int i = 0; i < 11; ++i) path.push_back({150 - i * 5.6f, 202 + std::sin(i * 0.8f) * 1.6f});
    centipede(v, path, 3.2f, rgb(120, 255, 120), rgb(255, 230, 80));
    // Grass blades along the bottom edge.
    Dice dice(5);
    for (int i = 0; i < 60; ++i) {
        float x = dice.range(0, 256), h = dice.range(3, 8);
        if (x > 175 && x < 190) continue;
        V2 base{x, 210}, tip{x + dice.range(-2, 2), 210 - h};
        fill(v, capsule(base, tip, 0.55f), mix(rgb(40, 200, 120), rgb(20, 90, 80), dice.next()));
    }
}

void skyline(const View& v) {
    const float horizon = 161;
    struct Cap {
        float x, size;
    };
    const Cap caps[] = {{26, 34}, {50, 22}, {80, 44}, {110, 18}, {150, 30}, {182, 50}, {212, 24}, {232, 32}};
    for (const Cap& c : caps) {
        float s = c.size;
        auto capShape = intersect(ellipse({c.x, horizon - s * 0.62f}, s * 0.62f, s * 0.46f),
                                  roundBox({c.x, horizon - s * 0.8f}, {s * 0.7f, s * 0.36f}, 0));
        auto stem = roundBox({c.x, horizon - s * 0.25f}, {s * 0.12f, s * 0.26f}, s * 0.05f);
        auto all = unite(capShape, stem);
        glow(v, all, rgb(70, 240, 255, 0.3f), 4);
        fill(v, all, gradient({0, horizon - s}, {0, horizon}, rgb(70, 30, 130), rgb(30, 10, 70)));
        // Rim light along the top of the cap.
        fill(v, intersect(outline(capShape, 0.7f), moved(capShape, {0, -1.8f})), rgb(140, 250, 255, 0.9f));
    }
    auto ground = roundBox({128, horizon + 0.5f}, {128, 1}, 0);
    fill(v, ground, rgb(30, 10, 70));
}

} // namespace

void drawMenuArt(const View& v, int frame) {
    if (frame == 0)
        sky(v);
    else if (frame == 1)
        foreground(v);
    else if (frame == 2)
        skyline(v);
}
