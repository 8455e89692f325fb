// The title lettering and the maker's emblem (a mountain tarn in a ring).
#include "art.h"
#include "text.h"

void drawTitle(const View& v, int) {
    const std::string word = "SKITTERBAT";
    const float slant = 0.14f, tracking = -0.5f;
    float cap = fitCapHeight(word, 34, 226, tracking, slant);
    const V2 c{128, 54};
    auto letters = lettering(v, word, c, cap, 14, tracking, slant);
    float top = c.y - cap / 2, bottom = c.y + cap / 2;

    glow(v, letters, rgb(255, 60, 190, 0.55f), 11);
    // Extruded depth, down and to the right.
    for (int i = 5; i >= 1; --i) fill(v, grow(moved(letters, {i * 0.55f, i * 0.8f}), 2.2f), palette::kInk);
    for (int i = 4; i >= 1; --i)
        fill(v, moved(letters, {i * 0.55f, i * 0.8f}), mix(rgb(120, 30, 150), rgb(60, 10, 90), i / 4.0f));
    fill(v, grow(letters, 2.2f), palette::kInk);
    fill(v, grow(letters, 1.1f), rgb(120, 250, 255));
    fill(v, letters,
         gradient3({0, top}, {0, bottom}, rgb(255, 250, 150), rgb(255, 150, 40), rgb(255, 60, 150)));
    // A highlight across the upper half of each letter.
    fill(v, intersect(grow(letters, -1.2f), roundBox({128, top + cap * 0.22f}, {130, cap * 0.16f}, 0)),
         withAlpha(palette::kWhite, 0.45f));

    // A centipede scuttling along a neon rail beneath the title.
    auto rail = capsule({24, 98}, {232, 98}, 1.3f);
    glow(v, rail, rgb(70, 240, 255, 0.6f), 6);
    fill(v, rail, rgb(200, 255, 255));
    std::vector<V2> path;
    for (int i = 0; i < 8; ++i) {
        float x = 150 - i * 11.0f;
        path.push_back({x, 90 + std::sin(i * 0.9f) * 1.5f});
    }
    centipede(v, path, 6, rgb(120, 255, 120), rgb(255, 230, 80));
    // The paddle and its ball at the far end.
    auto paddle = roundBox({208, 92}, {16, 3.2f}, 3.2f);
    glow(v, paddle, rgb(160, 255, 160, 0.5f), 5);
    fill(v, grow(paddle, 1.2f), palette::kInk);
    fill(v, paddle, gradient({0, 89}, {0, 95}, rgb(230, 255, 230), rgb(100, 210, 110)));
    glow(v, circle({196, 78}, 4.5f), rgb(150, 255, 150, 0.5f), 6);
    fill(v, circle({196, 78}, 5.5f), palette::kInk);
    fill(v, circle({196, 78}, 4.5f), Sphere{{196, 78}, 4.5f, rgb(170, 255, 170), 0.5f, 0.9f});
}

void drawMakerLogo(const View& v, int) {
    const V2 c{128, 128};
    const float R = 104;
    shadow(v, circle(c, R + 6), {0, 4}, 10, 0.6f);
    glow(v, circle(c, R + 6), rgb(70, 240, 255, 0.45f), 14);
    fill(v, circle(c, R + 10), palette::kInk);
    fill(v, circle(c, R + 7), gradient({40, 30}, {216, 226}, rgb(110, 250, 255), rgb(255, 70, 200)));
    fill(v, circle(c, R + 1), palette::kInk);

    // Sky: dusk from violet to a warm horizon, with a low sun.
    const float horizon = 140;
    auto inside = circle(c, R);
    fill(v, inside, gradient3({0, 24}, {0, horizon}, rgb(40, 20, 110), rgb(150, 40, 160), rgb(255, 150, 90)));
    auto sun = circle({150, 112}, 30);
    glow(v, intersect(sun, inside), rgb(255, 220, 120, 0.5f), 16);
    fill(v, intersect(sun, inside), gradient({0, 82}, {0, 140}, rgb(255, 250, 170), rgb(255, 110, 90)));
    // Bands cut through the lower half of the sun.
    for (int i = 0; i < 4; ++i) {
        float y = 118 + i * 6.0f;
        fill(v, intersect(sun, roundBox({150, y}, {32, 0.8f + i * 0.5f}, 0)), rgb(150, 40, 160));
    }
    Dice dice(3);
    for (int i = 0; i < 28; ++i) {
        V2 p{dice.range(30, 226), dice.range(30, 100)};
        if (length(p - c) > R - 6 || length(p - V2{150, 112}) < 40) continue;
        float r = dice.range(0.5f, 1.4f);
        fill(v, circle(p, r), withAlpha(palette::kWhite, dice.range(0.5f, 1.0f)));
    }

    // Mountains with snow, and their mirror in the tarn.
    auto far =
        polygon({{20, horizon}, {62, 92}, {84, 108}, {118, 70}, {150, 104}, {170, 94}, {236, horizon}});
    auto near = polygon({{24, horizon}, {70, 104}, {92, 122}, {104, 116}, {120, horizon}});
    auto farIn = intersect(far, inside), nearIn = intersect(near, inside);
    fill(v, farIn, gradient({0, 70}, {0, horizon}, rgb(90, 70, 190), rgb(30, 20, 90)));
    fill(v, intersect(farIn, polygon({{100, 90}, {118, 70}, {136, 87}, {126, 84}, {118, 90}, {110, 85}})),
         rgb(235, 240, 255));
    fill(v, intersect(farIn, polygon({{52, 100}, {62, 92}, {72, 99}, {64, 98}, {58, 102}})),
         rgb(235, 240, 255));
    fill(v, nearIn, gradient({0, 104}, {0, horizon}, rgb(50, 30, 120), rgb(20, 10, 60)));

    // The tarn: a cool lake reflecting the peaks, with ripples.
    auto lake = intersect(inside, roundBox({128, horizon + 60}, {R, 60}, 0));
    fill(v, lake, gradient({0, horizon}, {0, 232}, rgb(40, 160, 220), rgb(10, 20, 80)));
    auto mirror = [&](auto s) {
        return shape(Box{s.box.x0, 2 * horizon - s.box.y1, s.box.x1, 2 * horizon - s.box.y0}, [=](V2 p) {
            return s(V2{p.x, 2 * horizon - p.y});
        });
    };
    fill(v, intersect(mirror(far), lake), rgb(60, 60, 170, 0.55f));
    fill(v, intersect(mirror(near), lake), rgb(30, 20, 90, 0.6f));
    fill(v, intersect(lake, roundBox({150, horizon + 12}, {26, 1.2f}, 1)), rgb(255, 200, 150, 0.7f));
    for (int i = 0; i < 7; ++i) {
        float y = horizon + 8 + i * 9.0f + i * i * 0.6f;
        float half = 24 + i * 7.0f;
        float x = 128 + ((i % 2) ? 22 : -18);
        fill(v, intersect(lake, capsule({x - half, y}, {x + half, y}, 0.8f + i * 0.12f)),
             rgb(150, 240, 255, 0.45f));
    }
    fill(v, intersect(inside, roundBox({128, horizon}, {R, 0.9f}, 0)), rgb(255, 220, 170, 0.9f));
    // Gloss over the top of the emblem.
    fill(v, intersect(inside, ellipse({128, 40}, 90, 34)), withAlpha(palette::kWhite, 0.08f));
}
