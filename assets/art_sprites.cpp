// Play sprites: the centipede segment, the pod as it cracks, the mushroom as
// it is eaten away (all light grey so the game's tint shows), the marks that
// tell the pod colours apart without colour, and sparks.
#include "art.h"

namespace palette {
Color pod(int colour) {
    static const int k[9][3] = {{255, 255, 255}, {255, 80, 80},  {255, 180, 80},
                                {255, 255, 80},  {80, 255, 80},  {80, 255, 255},
                                {130, 130, 255}, {255, 80, 255}, {255, 255, 255}};
    colour = std::clamp(colour, 0, 8);
    return rgb(k[colour][0], k[colour][1], k[colour][2]);
}
} // namespace palette

namespace {

const V2 kMid{16, 16};
const Color kRim = grey(0.12f);

// Legs of a segment: three pairs reaching up and down, bent at the knee.
void legs(const View& v, float reach) {
    for (int i = -1; i <= 1; ++i) {
        float x = 16 + i * 6.0f;
        for (int side : {-1, 1}) {
            V2 hip{x, 16 + side * 7.5f}, knee{x + 1.8f, 16 + side * (7.5f + reach * 0.65f)},
                foot{x - 0.2f, 16 + side * (7.5f + reach)};
            auto leg = unite(capsule(hip, knee, 1.3f), capsule(knee, foot, 1.1f));
            fill(v, grow(leg, 0.9f), kRim);
            fill(v, leg, grey(0.62f));
        }
    }
}

void body(const View& v, float r) {
    fill(v, circle(kMid, r + 1.2f), kRim);
    fill(v, circle(kMid, r), Sphere{kMid, r, grey(1.0f), 0.62f, 0.9f});
    // A band across the back gives the segment its ribbed look.
    auto band = intersect(circle(kMid, r - 0.2f), outline(circle({16, 34}, 22), 1.1f));
    fill(v, band, grey(0.55f, 0.8f));
}

// One crack: a jagged dark line from the rim inwards, its lower lip catching
// the light.
void crack(const View& v, std::initializer_list<V2> pts, float width) {
    const V2* p = pts.begin();
    for (size_t i = 0; i + 1 < pts.size(); ++i)
        fill(v, capsule(p[i] + V2{0.3f, 0.6f}, p[i + 1] + V2{0.3f, 0.6f}, width * 0.5f), grey(1.0f, 0.8f));
    for (size_t i = 0; i + 1 < pts.size(); ++i) fill(v, capsule(p[i], p[i + 1], width * 0.55f), grey(0.08f));
}

void pod(const View& v, int damage) {
    float r = 10.5f;
    // Tucked-in leg stubs.
    for (int i = -1; i <= 1; ++i)
        for (int side : {-1, 1}) {
            auto stub = capsule({16 + i * 6.0f, 16 + side * 8.0f}, {16 + i * 6.5f, 16 + side * 11.5f}, 1.2f);
            fill(v, grow(stub, 0.9f), kRim);
            fill(v, stub, grey(0.55f));
        }
    fill(v, circle(kMid, r + 1.2f), kRim);
    auto shell = circle(kMid, r);
    if (damage >= 3) {
        // A chip knocked out of the shell, the hollow showing dark inside.
        auto chipped = cut(shell, circle({24, 9}, 4.5f));
        fill(v, intersect(shell, circle({24, 9}, 4.5f)), grey(0.25f));
        fill(v, chipped, Sphere{kMid, r, grey(1.0f), 0.62f, 0.9f});
    } else {
        fill(v, shell, Sphere{kMid, r, grey(1.0f), 0.62f, 0.9f});
    }
    fill(v, intersect(circle(kMid, r - 0.2f), outline(circle({16, 34}, 22), 1.1f)), grey(0.55f, 0.8f));
    if (damage >= 1) crack(v, {{8, 9}, {12, 12}, {11, 16}, {15, 19}}, 0.9f);
    if (damage >= 2) {
        crack(v, {{25, 20}, {21, 19}, {20, 23}, {16, 24}}, 0.9f);
        crack(v, {{12, 12}, {16, 11}, {18, 13}}, 0.7f);
    }
    if (damage >= 3) {
        crack(v, {{21, 11}, {18, 14}, {19, 17}, {15, 19}}, 0.9f);
        crack(v, {{8, 21}, {11, 19}, {15, 19}}, 0.8f);
        crack(v, {{16, 24}, {14, 27}}, 0.7f);
    }
}

// Mushroom: domed cap with spots over a short stem; bites taken out as it is hit.
void mushroom(const View& v, int damage) {
    auto cap = intersect(ellipse({16, 17}, 13, 11), roundBox({16, 11.5f}, {14, 6.5f}, 0));
    auto capFull = unite(cap, roundBox({16, 16}, {12.5f, 2.2f}, 2));
    auto stem = roundBox({16, 23}, {4.5f, 6}, 2.5f);
    float cutR[3] = {0, 0, 0};
    V2 cutC[3] = {{28, 7}, {4, 8}, {16, 0}};
    if (damage >= 1) cutR[0] = 6.0f;
    if (damage >= 2) cutR[1] = 6.0f;
    if (damage >= 3) {
        cutR[0] = 8.0f;
        cutR[1] = 8.0f;
        cutR[2] = 9.5f;
    }
    auto bitten = shape(capFull.box, [=](V2 p) {
        float d = capFull(p);
        for (int i = 0; i < 3; ++i)
            if (cutR[i] > 0) d = std::max(d, cutR[i] - length(p - cutC[i]));
        return d;
    });
    auto stemNow = stem;
    fill(v, grow(unite(bitten, stemNow), 1.2f), kRim);
    fill(v, stemNow, gradient({11, 0}, {21, 0}, grey(0.9f), grey(0.6f)));
    fill(v, bitten, [&](V2 p) {
        Color c = Sphere{{16, 16}, 14, grey(0.92f), 0.62f, 0.5f}(p);
        return c;
    });
    // Gills: the shadowed underside.
    fill(v, intersect(bitten, roundBox({16, 17}, {12, 1.3f}, 1.2f)), grey(0.45f));
    // Spots, white so they stay bright under the tint.
    const V2 spots[] = {{11, 9}, {19, 7}, {24, 12}, {15, 13}, {7, 13}};
    const float radii[] = {2.6f, 2.0f, 2.2f, 1.6f, 1.5f};
    for (int i = 0; i < 5; ++i) {
        auto spot = intersect(circle(spots[i], radii[i]), grow(bitten, -0.6f));
        fill(v, spot, grey(1.0f));
    }
    // Fresh bite marks show the pale flesh.
    for (int i = 0; i < 3; ++i)
        if (cutR[i] > 0)
            fill(v, intersect(bitten, outline(circle(cutC[i], cutR[i] + 0.6f), 0.7f)), grey(0.35f));
}

// The mark of pod colour 1..8, drawn untinted over the spinning pod: dark grey
// with a light rim, so it stands out on every tint. No two marks are turns of
// each other, since the pod spins.
void podMark(const View& v, int colour) {
    auto mark = [&](const auto& s) {
        fill(v, grow(s, 1.3f), grey(1.0f, 0.9f));
        fill(v, s, grey(0.08f));
    };
    switch (colour) {
    case 1: // red: a dot
        mark(circle(kMid, 3.0f));
        break;
    case 2: // orange: two dots
        mark(unite(circle({10.8f, 16}, 2.5f), circle({21.2f, 16}, 2.5f)));
        break;
    case 3: // yellow: a bar
        mark(capsule({10, 16}, {22, 16}, 1.7f));
        break;
    case 4: // green: a plus
        mark(unite(capsule({16, 10}, {16, 22}, 1.5f), capsule({10, 16}, {22, 16}, 1.5f)));
        break;
    case 5: // cyan: a triangle
        mark(regular(kMid, 6.4f, 3));
        break;
    case 6: // blue: a chevron
        mark(unite(capsule({10, 13}, {16, 20}, 1.5f), capsule({16, 20}, {22, 13}, 1.5f)));
        break;
    case 7: // pink: a star
        mark(star(kMid, 7.2f, 2.4f, 5));
        break;
    case 8: // white: a ring
        mark(outline(circle(kMid, 4.8f), 1.3f));
        break;
    default:
        break;
    }
}

} // namespace

void drawGfx(const View& v, int frame) {
    if (frame == 0) {
        legs(v, 5.3f);
        body(v, 10.5f);
    } else if (frame >= 1 && frame <= 3) {
        pod(v, frame);
    } else if (frame >= 4 && frame <= 7) {
        mushroom(v, frame - 4);
    } else if (frame >= 8) {
        podMark(v, frame - 7);
    }
}

void drawParts(const View& v, int frame) {
    V2 c{4, 4};
    if (frame == 0) {
        // A four-pointed spark, warm.
        glow(v, circle(c, 0.8f), rgb(255, 200, 60, 0.7f), 2.2f);
        fill(v, star(c, 3.0f, 0.9f, 4), rgb(255, 240, 150));
        fill(v, circle(c, 1.0f), palette::kWhite);
    } else if (frame == 1) {
        // A round ember, cool.
        glow(v, circle(c, 1.2f), rgb(80, 220, 255, 0.8f), 1.8f);
        fill(v, circle(c, 1.6f), rgb(200, 250, 255));
    }
}
