// Contact sheet layout: shelves of sheets, widest first, labelled with the
// pixel font.
#include "preview.h"

#include "canvas.h"
#include "pixelfont.h"
#include "shapes.h"

#include <algorithm>
#include <numeric>

namespace {

constexpr int kMaxWidth = 2200, kGap = 24, kLabel = 26;

struct Place {
    int x, y;
};

} // namespace

bool writePreview(const std::string& path, const std::vector<PreviewItem>& items) {
    std::vector<size_t> order(items.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return items[a].height > items[b].height; });

    std::vector<Place> at(items.size());
    int x = kGap, y = kGap, shelf = 0, width = 0;
    for (size_t i : order) {
        const PreviewItem& it = items[i];
        int w = std::max(it.width, int(it.label.size()) * 12);
        if (x > kGap && x + w + kGap > kMaxWidth) {
            x = kGap;
            y += shelf + kGap;
            shelf = 0;
        }
        at[i] = {x, y};
        x += w + kGap;
        width = std::max(width, x);
        shelf = std::max(shelf, it.height + kLabel);
    }
    int height = y + shelf + kGap;

    Canvas canvas(width, height);
    View all{&canvas, 0, 0, width, height, 1};
    fill(all, roundBox({width / 2.0f, height / 2.0f}, {width / 2.0f, height / 2.0f}, 0), rgb(16, 14, 40));
    for (size_t i = 0; i < items.size(); ++i) {
        const PreviewItem& it = items[i];
        int ox = at[i].x, oy = at[i].y + kLabel;
        pixelfont::drawText(all, it.label, {float(ox), float(at[i].y + 2)}, 2, rgb(200, 200, 230));
        // Frame grid, then the sheet over it.
        for (int fy = 0; fy < it.height; fy += it.frameH)
            for (int fx = 0; fx < it.width; fx += it.frameW) {
                auto cell = roundBox({ox + fx + it.frameW / 2.0f, oy + fy + it.frameH / 2.0f},
                                     {it.frameW / 2.0f, it.frameH / 2.0f}, 0);
                fill(all, outline(grow(cell, -0.5f), 0.5f), rgb(50, 50, 100));
            }
        for (int py = 0; py < it.height; ++py)
            for (int px = 0; px < it.width; ++px) {
                const unsigned char* p = &it.rgba[(size_t(py) * it.width + px) * 4];
                if (p[3]) canvas.blend(ox + px, oy + py, rgb(p[0], p[1], p[2], p[3] / 255.0f), 1);
            }
    }
    return writePng(path, width, height, canvas.rgba8());
}
