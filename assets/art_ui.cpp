// Interface pieces: the round icons (light, for the game's tint), the
// difficulty and gallery buttons, the arcade-controller switch and the
// direction-pad pieces.
#include "art.h"
#include "text.h"

namespace {

const Color kDark = grey(0.1f);

// ---- icons (32 x 32, tinted by the game) ----

void iconFace(const View& v) {
    const V2 c{16, 16};
    shadow(v, circle(c, 13), {0, 0.6f}, 1.5f, 0.45f);
    fill(v, circle(c, 13.8f), kDark);
    fill(v, circle(c, 12.7f), gradient({0, 4}, {0, 28}, grey(1.0f), grey(0.72f)));
    fill(v, outline(circle(c, 11.6f), 0.5f), grey(1.0f, 0.7f));
}

template <class S> void symbol(const View& v, const S& s) {
    fill(v, grow(s, 0.6f), grey(1.0f, 0.6f)); // a light halo lifts it off the face
    fill(v, s, kDark);
}

void speaker(const View& v) {
    symbol(v, unite(roundBox({10.5f, 16}, {2.4f, 3.2f}, 0.6f),
                    polygon({{11, 13}, {16, 8.5f}, {16, 23.5f}, {11, 19}})));
}

void drawIconFrame(const View& v, int frame) {
    const V2 c{16, 16};
    switch (frame) {
    case 0: // pause
        iconFace(v);
        symbol(v, unite(roundBox({12.3f, 16}, {2.3f, 7}, 1), roundBox({19.7f, 16}, {2.3f, 7}, 1)));
        break;
    case 1: // quit
        iconFace(v);
        symbol(v, unite(capsule({10.5f, 10.5f}, {21.5f, 21.5f}, 2.2f),
                        capsule({21.5f, 10.5f}, {10.5f, 21.5f}, 2.2f)));
        break;
    case 3: // resume
        iconFace(v);
        symbol(v, grow(polygon({{12.5f, 9}, {23, 16}, {12.5f, 23}}), 1.0f));
        break;
    case 4: // sound on
        iconFace(v);
        speaker(v);
        symbol(v, arc({15, 16}, 4.5f, 50, 130, 1.1f));
        symbol(v, arc({15, 16}, 8.5f, 55, 125, 1.1f));
        break;
    case 5: // sound off
        iconFace(v);
        speaker(v);
        symbol(v, unite(capsule({19, 12.5f}, {25, 19.5f}, 1.3f), capsule({25, 12.5f}, {19, 19.5f}, 1.3f)));
        break;
    case 7: // restart: an arrow round a circle
        iconFace(v);
        symbol(v, unite(arc(c, 7, 60, 330, 1.3f), polygon({{12.2f, 6.4f}, {18.6f, 9.3f}, {12.8f, 13.6f}})));
        break;
    case 8: // faster: two arrowheads
        iconFace(v);
        symbol(v, unite(polygon({{8.5f, 10}, {16, 16}, {8.5f, 22}}),
                        polygon({{16, 10}, {23.5f, 16}, {16, 22}})));
        break;
    case 9: // back: an arrow to the left
        iconFace(v);
        symbol(v, unite(capsule({12, 16}, {23, 16}, 1.6f), polygon({{7.5f, 16}, {14, 9.5f}, {14, 22.5f}})));
        break;
    case 10: // export: an arrow down into a tray
        iconFace(v);
        symbol(v, unite(capsule({16, 7.5f}, {16, 16}, 1.6f), polygon({{10.5f, 14}, {21.5f, 14}, {16, 20.5f}}),
                        capsule({9, 20}, {9, 24}, 1.3f), capsule({9, 24}, {23, 24}, 1.3f),
                        capsule({23, 24}, {23, 20}, 1.3f)));
        break;
    case 11: // options: a gear
        iconFace(v);
        {
            auto teeth = roundBox(c, {1.9f, 8.6f}, 0.6f);
            auto wheel = unite(circle(c, 6.4f), teeth, turned(teeth, c, 45), turned(teeth, c, 90),
                               turned(teeth, c, 135));
            symbol(v, cut(wheel, circle(c, 2.6f)));
        }
        break;
    case 6: // focus ring
        glow(v, outline(circle(c, 13.0f), 0.7f), grey(1.0f, 0.5f), 1.5f);
        fill(v, outline(circle(c, 13.0f), 1.0f), grey(1.0f));
        for (int i = 0; i < 4; ++i) {
            V2 a = c + polar(45 + i * 90.0f, 10.4f);
            fill(v,
                 turned(polygon({{a.x - 1.6f, a.y - 1.4f}, {a.x + 1.6f, a.y - 1.4f}, {a.x, a.y + 1.6f}}), a,
                        225 + i * 90.0f),
                 grey(1.0f));
        }
        break;
    default:
        break;
    }
}

// ---- buttons (64 x 64, drawn in colour) ----

void tile(const View& v, Color top, Color bottom, Color rim) {
    const V2 c{32, 32};
    shadow(v, roundBox(c, {27, 27}, 10), {0, 1.5f}, 2.5f, 0.55f);
    glow(v, roundBox(c, {27, 27}, 10), withAlpha(rim, 0.35f), 4);
    fill(v, roundBox(c, {27.5f, 27.5f}, 10.5f), palette::kInk);
    fill(v, roundBox(c, {26, 26}, 9.5f), gradient({0, 6}, {0, 58}, top, bottom));
    fill(v, outline(roundBox(c, {24.2f, 24.2f}, 8), 0.6f), withAlpha(palette::kWhite, 0.5f));
    // Gloss on the upper half.
    fill(v, intersect(roundBox(c, {24, 24}, 8), ellipse({32, 8}, 30, 14)), withAlpha(palette::kWhite, 0.22f));
}

void label(const View& v, const std::string& text, float y, float cap, float tracking) {
    auto letters = lettering(v, text, {32, y}, cap, 3, tracking);
    fill(v, grow(letters, 1.6f), palette::kInk);
    fill(v, letters, gradient({0, y - cap / 2}, {0, y + cap / 2}, palette::kWhite, rgb(225, 225, 255)));
}

void pips(const View& v, int count, Color c) {
    float spacing = 11;
    float x0 = 32 - (count - 1) * spacing / 2;
    for (int i = 0; i < count; ++i) {
        auto s = star({x0 + i * spacing, 20}, 5.5f, 2.4f, 5);
        fill(v, grow(s, 1.1f), palette::kInk);
        fill(v, s, c);
    }
}

void medalButton(const View& v) {
    // Ribbon tails behind a gold medal.
    auto left = polygon({{19, 4}, {30, 4}, {27, 28}, {19, 25}});
    auto right = polygon({{34, 4}, {45, 4}, {45, 25}, {37, 28}});
    fill(v, grow(left, 1.2f), palette::kInk);
    fill(v, grow(right, 1.2f), palette::kInk);
    fill(v, left, gradient({19, 0}, {30, 0}, rgb(255, 80, 170), rgb(190, 30, 120)));
    fill(v, right, gradient({34, 0}, {45, 0}, rgb(80, 200, 255), rgb(30, 120, 200)));
    const V2 c{32, 38};
    glow(v, circle(c, 18.5f), rgb(255, 220, 80, 0.4f), 4);
    fill(v, circle(c, 19.7f), palette::kInk);
    fill(v, circle(c, 18.5f), gradient({18, 21}, {46, 55}, rgb(255, 245, 170), rgb(220, 130, 20)));
    fill(v, circle(c, 13.5f), gradient({0, 25}, {0, 51}, rgb(230, 150, 20), rgb(255, 230, 120)));
    auto s = star(c, 10.5f, 4.4f, 5);
    fill(v, grow(s, 0.9f), rgb(150, 80, 0));
    fill(v, s, rgb(255, 252, 210));
}

void drawButtonFrame(const View& v, int frame) {
    switch (frame) {
    case 0:
        tile(v, rgb(120, 255, 140), rgb(20, 150, 70), palette::kGreen);
        pips(v, 1, rgb(255, 250, 170));
        label(v, "EASY", 41, 11, 0);
        break;
    case 1:
        tile(v, rgb(255, 220, 90), rgb(230, 110, 10), palette::kOrange);
        pips(v, 2, rgb(255, 250, 200));
        label(v, "NORMAL", 41, 8.6f, -0.6f);
        break;
    case 2:
        tile(v, rgb(255, 100, 170), rgb(170, 10, 60), palette::kPink);
        pips(v, 3, rgb(255, 240, 120));
        label(v, "HARD", 41, 11, 0);
        break;
    case 14:
        medalButton(v);
        break;
    case 15: {
        const V2 c{32, 32};
        glow(v, outline(roundBox(c, {28.5f, 28.5f}, 12), 0.8f), rgb(255, 255, 160, 0.6f), 1.6f);
        fill(v, outline(roundBox(c, {28.5f, 28.5f}, 12), 1.2f), rgb(255, 255, 200));
        break;
    }
    default:
        break;
    }
}

// ---- the arcade-controller switch (64 x 64, off and on) ----

void drawICadeFrame(const View& v, int frame) {
    bool on = frame == 1;
    auto tone = [&](Color c) { return on ? c : mix(c, grey((c.r + c.g + c.b) / 3), 0.85f); };
    Color body = tone(rgb(60, 60, 150)), bodyLow = tone(rgb(25, 20, 80));
    auto base = roundBox({32, 45}, {25, 10}, 5);
    if (on) glow(v, base, rgb(90, 200, 255, 0.35f), 6);
    shadow(v, base, {0, 1.5f}, 3, 0.5f);
    // Stick.
    auto stick = capsule({24, 42}, {24, 22}, 2.2f);
    fill(v, grow(stick, 1.1f), palette::kInk);
    fill(v, stick, gradient({21, 0}, {27, 0}, tone(rgb(230, 230, 240)), tone(rgb(120, 120, 140))));
    // Body of the controller.
    fill(v, grow(base, 1.3f), palette::kInk);
    fill(v, base, gradient({0, 35}, {0, 55}, body, bodyLow));
    fill(v, roundBox({32, 38.5f}, {23, 2}, 2), withAlpha(palette::kWhite, 0.25f));
    // Ball top.
    Color ball = tone(rgb(255, 60, 90));
    if (on) glow(v, circle({24, 19}, 6.5f), rgb(255, 80, 120, 0.45f), 5);
    fill(v, circle({24, 19}, 7.6f), palette::kInk);
    fill(v, circle({24, 19}, 6.5f), Sphere{{24, 19}, 6.5f, ball, 0.45f, 0.8f});
    // Two buttons.
    const V2 buttons[] = {{38, 43}, {47, 41}};
    const Color colours[] = {rgb(70, 240, 255), rgb(255, 236, 70)};
    for (int i = 0; i < 2; ++i) {
        Color c = tone(colours[i]);
        if (on) glow(v, circle(buttons[i], 3.5f), withAlpha(c, 0.6f), 4);
        fill(v, circle(buttons[i], 4.6f), palette::kInk);
        fill(v, circle(buttons[i], 3.6f), Sphere{buttons[i], 3.6f, c, 0.5f, 0.7f});
    }
    // Status lamp.
    Color lamp = on ? rgb(120, 255, 120) : grey(0.35f);
    if (on) glow(v, circle({52, 19}, 3), rgb(120, 255, 120, 0.7f), 5);
    fill(v, circle({52, 19}, 4), palette::kInk);
    fill(v, circle({52, 19}, 3), Sphere{{52, 19}, 3, lamp, 0.6f, 0.6f});
}

// ---- direction-pad pieces (32 x 32): arrows up, right, down, left, the
// centre, and the same five pressed ----

void drawDpadFrame(const View& v, int frame) {
    if (frame > 9) return;
    bool pressed = frame >= 5;
    int piece = frame % 5;
    const V2 c{16, 16};
    Color face = pressed ? rgb(90, 220, 255) : rgb(70, 70, 120);
    Color faceLow = pressed ? rgb(30, 120, 200) : rgb(30, 30, 70);
    if (pressed) glow(v, roundBox(c, {12, 12}, 4), rgb(90, 220, 255, 0.5f), 3.5f);
    if (piece == 4) {
        fill(v, circle(c, 10.5f), palette::kInk);
        fill(v, circle(c, 9.5f), gradient({0, 7}, {0, 25}, face, faceLow));
        fill(v, circle(c, 3.5f), withAlpha(palette::kWhite, 0.6f));
        return;
    }
    fill(v, roundBox(c, {12.5f, 12.5f}, 4.5f), palette::kInk);
    fill(v, roundBox(c, {11.5f, 11.5f}, 4), gradient({0, 5}, {0, 27}, face, faceLow));
    auto arrow = turned(polygon({{16, 9}, {23, 18}, {9, 18}}), c, piece * 90.0f);
    fill(v, grow(arrow, 0.8f), palette::kInk);
    fill(v, arrow, palette::kWhite);
}

} // namespace

void drawIcon(const View& v, int frame) {
    drawIconFrame(v, frame);
}
void drawButton(const View& v, int frame) {
    drawButtonFrame(v, frame);
}
void drawICade(const View& v, int frame) {
    drawICadeFrame(v, frame);
}
void drawDpad(const View& v, int frame) {
    drawDpadFrame(v, frame);
}
