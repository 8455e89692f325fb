// The desktop icon: a centipede curling around a mushroom on a neon tile,
// with the paddle and its ball below.
#include "art.h"

void drawAppIcon(const View& v, int) {
    const V2 c{128, 128};
    auto tile = roundBox(c, {110, 110}, 40);
    shadow(v, tile, {0, 6}, 10, 0.55f);
    fill(v, grow(tile, 6), palette::kInk);
    fill(v, grow(tile, 4), gradient({20, 20}, {236, 236}, rgb(110, 250, 255), rgb(255, 70, 200)));
    fill(v, tile, gradient3({0, 18}, {0, 238}, rgb(40, 20, 110), rgb(110, 35, 150), rgb(20, 12, 70)));

    mushroomProp(v, {128, 150}, 78, rgb(255, 70, 120), rgb(240, 220, 200), 8);

    // Head at the upper right, the body winding round the mushroom's cap.
    std::vector<V2> path;
    for (int i = 0; i < 9; ++i) {
        float angle = 70 - i * 27.0f;
        float radius = 66 - i * 1.5f;
        path.push_back(V2{128, 110} + polar(angle, radius));
    }
    centipede(v, path, 12, rgb(120, 255, 120), rgb(255, 230, 80));

    auto paddle = roundBox({128, 204}, {42, 7}, 7);
    glow(v, paddle, rgb(160, 255, 160, 0.5f), 8);
    fill(v, grow(paddle, 2.5f), palette::kInk);
    fill(v, paddle, gradient({0, 197}, {0, 211}, rgb(230, 255, 230), rgb(100, 210, 110)));
    const V2 ball{184, 176};
    glow(v, circle(ball, 10), rgb(150, 255, 150, 0.5f), 10);
    fill(v, circle(ball, 12), palette::kInk);
    fill(v, circle(ball, 10), Sphere{ball, 10, rgb(170, 255, 170), 0.5f, 0.9f});
}
