// Badge icons, in colour: a medallion whose rim tells the family (silver for
// a bounced pod, a gold star for a burst pod, cyan for the ball bonuses,
// magenta for the skill shot) around a picture of the deed.
#include "art.h"

namespace {

const V2 kC{32, 32};

void medallion(const View& v, Color rimLight, Color rimDark, bool spiky) {
    shadow(v, circle(kC, 28), {0, 1}, 2, 0.5f);
    if (spiky) {
        auto burst = star(kC, 29.8f, 25.5f, 16);
        fill(v, grow(burst, 1.2f), palette::kInk);
        fill(v, burst, gradient({0, 4}, {0, 60}, rimLight, rimDark));
    }
    fill(v, circle(kC, 28.5f), palette::kInk);
    fill(v, circle(kC, 27.5f), gradient({10, 6}, {52, 58}, rimLight, rimDark));
    fill(v, circle(kC, 23.0f), palette::kInk);
    fill(v, circle(kC, 22.2f), Radial{{32, 24}, 26, rgb(40, 36, 110), rgb(10, 8, 40)});
    // A sheen on the upper rim.
    fill(v, intersect(outline(circle(kC, 25.2f), 1.3f), circle({32, 10}, 16)),
         withAlpha(palette::kWhite, 0.45f));
}

void glossyPod(const View& v, V2 c, float r, Color col) {
    fill(v, circle(c, r + 1.2f), palette::kInk);
    fill(v, circle(c, r), Sphere{c, r, col, 0.6f, 0.9f});
    fill(v, intersect(circle(c, r - 0.3f), outline(circle(c + V2{0, r * 2}, r * 2.1f), 0.8f)),
         scaled(col, 0.6f));
}

void paddle(const View& v, V2 c, float halfW) {
    auto bar = roundBox(c, {halfW, 2.6f}, 2.6f);
    fill(v, grow(bar, 1), palette::kInk);
    fill(v, bar, gradient({0, c.y - 2.6f}, {0, c.y + 2.6f}, rgb(220, 255, 220), rgb(90, 200, 100)));
}

void podBounce(const View& v, int colour) {
    medallion(v, rgb(235, 240, 255), rgb(120, 130, 170), false);
    Color col = palette::pod(colour);
    // Dotted bounce path from the left, up off the paddle.
    for (int i = 0; i < 5; ++i) {
        float t = i / 5.0f;
        V2 p{14 + t * 10, 42 - 14 * std::sin(t * 1.3f)};
        fill(v, circle(p, 0.9f + t * 0.7f), withAlpha(col, 0.35f + 0.5f * t));
    }
    paddle(v, {32, 45}, 11);
    glow(v, circle({32, 27}, 10), withAlpha(col, 0.4f), 6);
    glossyPod(v, {32, 27}, 10, col);
    // Motion ticks above.
    fill(v, capsule({25.5f, 15.5f}, {23.5f, 12.5f}, 0.9f), withAlpha(palette::kWhite, 0.85f));
    fill(v, capsule({32, 14.5f}, {32, 10.5f}, 0.9f), withAlpha(palette::kWhite, 0.85f));
    fill(v, capsule({38.5f, 15.5f}, {40.5f, 12.5f}, 0.9f), withAlpha(palette::kWhite, 0.85f));
}

void podBurst(const View& v, int colour) {
    medallion(v, rgb(255, 236, 120), rgb(200, 110, 20), true);
    Color col = palette::pod(colour);
    glow(v, circle(kC, 8), withAlpha(col, 0.8f), 12);
    fill(v, star(kC, 17, 7, 10, 9), mix(col, palette::kWhite, 0.45f));
    fill(v, star(kC, 9.5f, 5, 10), palette::kWhite);
    // Shards of the shell flying out.
    for (int i = 0; i < 6; ++i) {
        float a = i * 60.0f + 20;
        V2 at = kC + polar(a, 14.5f);
        auto shard = turned(
            polygon({{at.x - 4.0f, at.y + 2.8f}, {at.x + 4.2f, at.y + 1.9f}, {at.x - 0.4f, at.y - 4.8f}}), at,
            a * 1.7f);
        fill(v, grow(shard, 1.0f), palette::kInk);
        fill(v, shard, Sphere{at, 5.5f, col, 0.7f, 0.6f});
    }
}

void ballBonus(const View& v, int rounds) {
    medallion(v, rgb(140, 255, 250), rgb(20, 120, 170), false);
    Color ball = rgb(150, 255, 150);
    // Speed lines behind the ball.
    for (int i = 0; i < 3; ++i)
        fill(v, capsule({15.0f + i * 1.5f, 20.0f + i * 4}, {24.0f, 20.0f + i * 4}, 0.9f),
             rgb(180, 255, 200, 0.7f));
    glow(v, circle({34, 24}, 7), withAlpha(ball, 0.4f), 6);
    fill(v, circle({34, 24}, 8.2f), palette::kInk);
    fill(v, circle({34, 24}, 7.2f), Sphere{{34, 24}, 7.2f, ball, 0.45f, 0.9f});
    // One, two or three stars for the rounds carried.
    float spacing = 10.5f;
    float x0 = 32 - (rounds - 1) * spacing / 2;
    for (int i = 0; i < rounds; ++i) {
        V2 c{x0 + i * spacing, 42};
        auto s = star(c, 5.6f, 2.4f, 5);
        fill(v, grow(s, 1.1f), palette::kInk);
        fill(v, s, gradient({0, 37}, {0, 47}, rgb(255, 250, 160), rgb(255, 170, 30)));
    }
}

void skillShot(const View& v) {
    medallion(v, rgb(255, 140, 240), rgb(150, 30, 170), false);
    const Color red = rgb(255, 70, 90), white = rgb(250, 245, 255);
    fill(v, circle(kC, 16.5f), palette::kInk);
    fill(v, circle(kC, 15.5f), red);
    fill(v, circle(kC, 11.5f), white);
    fill(v, circle(kC, 7.5f), red);
    fill(v, circle(kC, 3.8f), white);
    // Cross-hair ticks.
    for (int i = 0; i < 4; ++i) {
        V2 a = kC + polar(i * 90.0f, 13), b = kC + polar(i * 90.0f, 20);
        fill(v, capsule(a, b, 1.7f), palette::kInk);
        fill(v, capsule(a, b, 0.9f), palette::kYellow);
    }
    glow(v, circle(kC, 2), rgb(255, 255, 200, 0.8f), 7);
    fill(v, star(kC, 6.5f, 1.6f, 4, 45), palette::kWhite);
}

} // namespace

void drawBadge(const View& v, int frame) {
    if (frame < 8)
        podBounce(v, frame + 1);
    else if (frame < 16)
        podBurst(v, frame - 7);
    else if (frame < 19)
        ballBonus(v, frame - 15);
    else if (frame == 19)
        skillShot(v);
}
