// The game's icon: a centipede curling around a mushroom on a neon tile,
// with the paddle and its ball below. The desktop and the page's "any" icons
// show the tile; the maskable one fills its square, since a launcher cuts it
// to a shape of its own.
#include "art.h"

namespace {

// The creatures and the paddle, in the icon's 256 design units.
void drawScene(const View& v) {
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

} // namespace

void drawAppIcon(const View& v, int) {
    const V2 c{128, 128};
    auto tile = roundBox(c, {110, 110}, 40);
    shadow(v, tile, {0, 6}, 10, 0.55f);
    fill(v, grow(tile, 6), palette::kInk);
    fill(v, grow(tile, 4), gradient({20, 20}, {236, 236}, rgb(110, 250, 255), rgb(255, 70, 200)));
    fill(v, tile, gradient3({0, 18}, {0, 238}, rgb(40, 20, 110), rgb(110, 35, 150), rgb(20, 12, 70)));
    drawScene(v);
}

// Launchers keep at least the centred circle of 80 % of the width: the scene,
// a little smaller than on the tile, stays well inside it, over the tile's
// colours running to every edge.
void drawMaskableIcon(const View& v, int) {
    paint(v, {0, 0, 256, 256},
          gradient3({0, 0}, {0, 256}, rgb(40, 20, 110), rgb(110, 35, 150), rgb(20, 12, 70)));
    const float keep = 0.9f;
    int inset = int(std::lround(v.w * (1 - keep) / 2));
    int side = v.w - 2 * inset;
    View inner{v.canvas, v.x0 + inset, v.y0 + inset, side, side, v.scale * side / v.w};
    drawScene(inner);
}
