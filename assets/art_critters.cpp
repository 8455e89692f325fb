// Creatures and props shared by the title art: a neon centipede along a
// path, a spotted mushroom, and the paddle with its ball.
#include "art.h"

void centipede(const View& v, const std::vector<V2>& path, float r, Color body, Color accent) {
    if (path.empty()) return;
    // Tail first, so each segment overlaps the one behind it.
    for (size_t k = path.size(); k-- > 0;) {
        V2 c = path[k];
        V2 ahead = k > 0 ? path[k - 1] - c : c - path[std::min(k + 1, path.size() - 1)];
        float len = length(ahead);
        V2 dir = len > 0 ? ahead * (1 / len) : V2{1, 0};
        V2 side{-dir.y, dir.x};
        bool head = k == 0;
        float rr = head ? r * 1.15f : r;
        // Legs on both sides, swinging alternately.
        if (!head)
            for (int s : {-1, 1}) {
                float swing = (k % 2 ? 0.35f : -0.35f) * s;
                V2 hip = c + side * (s * rr * 0.7f);
                V2 foot = c + side * (s * rr * 1.55f) + dir * (swing * rr);
                fill(v, capsule(hip, foot, r * 0.16f + v.pixel()), palette::kInk);
                fill(v, capsule(hip, foot, r * 0.1f), mix(accent, palette::kInk, 0.2f));
            }
        glow(v, circle(c, rr), withAlpha(body, 0.25f), r * 0.9f);
        fill(v, circle(c, rr + r * 0.14f), palette::kInk);
        fill(v, circle(c, rr), Sphere{c, rr, head ? mix(body, accent, 0.35f) : body, 0.45f, 0.8f});
        if (!head) {
            fill(v,
                 intersect(circle(c, rr * 0.98f),
                           outline(circle(c - dir * (rr * 2.2f), rr * 2.35f), rr * 0.09f)),
                 withAlpha(accent, 0.8f));
        } else {
            // Eyes and feelers.
            for (int s : {-1, 1}) {
                V2 eye = c + dir * (rr * 0.35f) + side * (s * rr * 0.42f);
                fill(v, circle(eye, rr * 0.3f), palette::kWhite);
                fill(v, circle(eye + dir * (rr * 0.1f), rr * 0.15f), palette::kInk);
                V2 root = c + dir * (rr * 0.8f) + side * (s * rr * 0.35f);
                V2 tip = root + dir * (rr * 0.9f) + side * (s * rr * 0.7f);
                fill(v, capsule(root, tip, r * 0.14f + v.pixel()), palette::kInk);
                fill(v, capsule(root, tip, r * 0.08f), accent);
                fill(v, circle(tip, r * 0.2f), accent);
            }
        }
    }
}

void mushroomProp(const View& v, V2 base, float size, Color cap, Color stem, float rim) {
    float s = size;
    auto capShape = intersect(ellipse({base.x, base.y - s * 0.62f}, s * 0.62f, s * 0.46f),
                              roundBox({base.x, base.y - s * 0.8f}, {s * 0.7f, s * 0.36f}, 0));
    auto stemShape = roundBox({base.x, base.y - s * 0.22f}, {s * 0.17f, s * 0.24f}, s * 0.1f);
    auto all = unite(capShape, stemShape);
    if (rim > 0) glow(v, all, withAlpha(cap, 0.35f), rim);
    fill(v, grow(all, s * 0.035f + v.pixel()), palette::kInk);
    fill(v, stemShape, gradient({base.x - s * 0.17f, 0}, {base.x + s * 0.17f, 0}, stem, scaled(stem, 0.6f)));
    fill(v, capShape, Sphere{{base.x - s * 0.1f, base.y - s * 0.75f}, s * 0.75f, cap, 0.45f, 0.5f});
    fill(v, intersect(capShape, roundBox({base.x, base.y - s * 0.46f}, {s * 0.6f, s * 0.03f}, s * 0.03f)),
         scaled(cap, 0.45f));
    const V2 spots[] = {{-0.3f, -0.78f}, {0.08f, -0.92f}, {0.35f, -0.7f}, {-0.05f, -0.62f}};
    const float radii[] = {0.1f, 0.08f, 0.09f, 0.06f};
    for (int i = 0; i < 4; ++i)
        fill(v, intersect(circle(base + spots[i] * s, radii[i] * s), grow(capShape, -s * 0.02f)),
             withAlpha(palette::kWhite, 0.9f));
}
