// The contact sheet: every image at one level on a dark background, each
// with its name and a faint frame grid, in one PNG to look the art over.
#pragma once

#include <string>
#include <vector>

struct PreviewItem {
    std::string label;
    int width = 0, height = 0, frameW = 0, frameH = 0;
    std::vector<unsigned char> rgba;
};

bool writePreview(const std::string& path, const std::vector<PreviewItem>& items);
