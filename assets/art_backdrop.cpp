// The two turning backdrop layers behind play: rings and a two-armed spiral,
// and a star field. Both fade out before the frame edge so they turn cleanly.
#include "art.h"

namespace {

const V2 kCentre{128, 128};
constexpr float kPi = 3.14159265f;

float edgeFade(float r) {
    return 1 - smooth(96, 126, r);
}

void ringsAndSpiral(const View& v) {
    paint(v, {0, 0, 256, 256}, [&](V2 p) {
        V2 q = p - kCentre;
        float r = length(q);
        if (r > 127) return Color{};
        float fade = edgeFade(r);
        // A faint violet haze in the middle.
        Color c = withAlpha(rgb(90, 40, 200), 0.30f * (1 - smooth(0, 110, r)));
        // Two spiral arms, r = k * angle, soft-edged.
        float theta = std::atan2(q.y, q.x);
        const float k = 120 / (2.6f * kPi);
        for (int arm = 0; arm < 2; ++arm) {
            float t = (r / k - theta - arm * kPi) / (2 * kPi);
            float f = (t - std::round(t)) * 2 * kPi * k;
            float width = 3 + r * 0.07f;
            float a = std::exp(-(f * f) / (width * width)) * smooth(6, 30, r);
            Color arm_c = mix(rgb(80, 230, 255), rgb(200, 80, 255), clamp01(r / 120));
            c = mix(c, withAlpha(arm_c, 1), a * 0.75f);
            c.a = std::max(c.a, a * 0.75f);
        }
        c.a *= fade;
        return c;
    });
    // Rings, one of them dashed so the turning shows.
    const float radii[] = {34, 62, 90, 114};
    for (int i = 0; i < 4; ++i) {
        Color col = i % 2 ? rgb(255, 80, 200, 0.55f) : rgb(90, 200, 255, 0.6f);
        if (i == 2) {
            for (int d = 0; d < 24; ++d) fill(v, arc(kCentre, radii[i], d * 15.0f, d * 15.0f + 8, 0.9f), col);
        } else {
            fill(v, outline(circle(kCentre, radii[i]), i == 3 ? 0.6f : 0.8f),
                 withAlpha(col, col.a * edgeFade(radii[i] - 8)));
        }
    }
    // Beads riding on the inner rings.
    for (int i = 0; i < 6; ++i) {
        V2 b = kCentre + polar(i * 60.0f + 15, radii[1]);
        glow(v, circle(b, 1.2f), rgb(255, 120, 220, 0.5f), 5);
        fill(v, circle(b, 2.0f), rgb(255, 200, 240));
    }
    for (int i = 0; i < 3; ++i) {
        V2 b = kCentre + polar(i * 120.0f + 50, radii[0]);
        glow(v, circle(b, 1.0f), rgb(120, 230, 255, 0.5f), 4);
        fill(v, circle(b, 1.6f), rgb(220, 250, 255));
    }
}

void starField(const View& v) {
    Dice dice(7);
    const Color colours[] = {rgb(255, 255, 255), rgb(130, 240, 255), rgb(255, 150, 230), rgb(255, 240, 140)};
    for (int i = 0; i < 150; ++i) {
        V2 p{dice.range(4, 252), dice.range(4, 252)};
        float r = length(p - kCentre);
        float size = dice.next();
        Color c = colours[int(dice.next() * 3.999f)];
        float radius = 0.5f + size * size * 1.6f;
        if (r + radius * 5 > 124) continue;
        float a = edgeFade(r);
        glow(v, circle(p, radius), withAlpha(c, 0.35f * a), radius * 3);
        fill(v, circle(p, radius), withAlpha(c, a));
        if (size > 0.93f) {
            // The brightest get a four-pointed glint.
            fill(v, star(p, radius * 3.2f, radius * 0.45f, 4, 45 * float(i % 2)), withAlpha(c, 0.7f * a));
        }
    }
}

} // namespace

void drawBackdrop(const View& v, int frame) {
    if (frame == 0)
        ringsAndSpiral(v);
    else
        starField(v);
}
