// Canvas conversion to 8-bit RGBA and PNG output through stb_image_write.
#include "canvas.h"

#include <stb_image_write.h>

std::vector<unsigned char> Canvas::rgba8() const {
    std::vector<unsigned char> out(size_t(width_) * height_ * 4);
    copyTo(out, width_, 0, 0);
    return out;
}

void Canvas::copyTo(std::vector<unsigned char>& rgba, int stridePixels, int ox, int oy) const {
    auto byte = [](float v) { return static_cast<unsigned char>(std::lround(clamp01(v) * 255.0f)); };
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const float* p = &px_[(size_t(y) * width_ + x) * 4];
            unsigned char a = byte(p[3]);
            if (a == 0) continue;
            float inv = 1 / p[3];
            unsigned char* o = &rgba[((size_t(oy) + y) * stridePixels + ox + x) * 4];
            o[0] = byte(p[0] * inv);
            o[1] = byte(p[1] * inv);
            o[2] = byte(p[2] * inv);
            o[3] = a;
        }
}

bool writePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgba) {
    return stbi_write_png(path.c_str(), width, height, 4, rgba.data(), width * 4) != 0;
}
