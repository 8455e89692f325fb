// The list of image sheets the game loads (name, frame size, frame count,
// layout) with the function that draws each frame, and sheet rendering.
#pragma once

#include "canvas.h"

#include <string>
#include <vector>

struct SheetLayout {
    std::string name; // path under data/ without resolution suffix and ".png"
    int frameW, frameH, frames, columns;
    bool levels; // false: a single file at level 1 without suffix
    void (*draw)(const View& frame, int index);
};

const std::vector<SheetLayout>& sheetLayouts();

// Resolution levels and their file suffixes.
constexpr int kLevels[] = {1, 2, 4};
std::string sheetFile(const SheetLayout& layout, int level);

// An 8-bit straight RGBA picture.
struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
};

// Draws every frame of a sheet at a level; each frame is drawn on its own
// canvas, so nothing spills into a neighbour.
Image renderSheet(const SheetLayout& layout, int level);
