// Test support for the graphics layer: a visible GLFW window with a current GL
// context, the headless platform sized like it, pixel read-back and PNG files
// written into a private temporary folder.
#pragma once

#include "graphics/gxtk_graphics.h"
#include "runtime/headless_platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct GLFWwindow;

struct Rgba {
    int r, g, b, a;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};
std::ostream& operator<<(std::ostream& out, const Rgba& c);

class GLTest : public ::testing::Test {
  public:
    static GLFWwindow* window;
    static HeadlessPlatform platform;
    static void SetUpTestSuite();

  protected:
    std::string tempDir;

    void SetUp() override;
    void TearDown() override;

    // A path in the temporary folder.
    std::string TempPath(const std::string& name) const { return tempDir + "/" + name; }
    // Writes an image of depth channels, rows top first, as PNG; returns its path.
    std::string WritePng(const std::string& name, int width, int height, int depth,
                         const std::vector<unsigned char>& pixels);
    // Writes a width x height RGBA PNG filled by fill(x, y).
    template <class F> std::string WritePngBy(const std::string& name, int width, int height, F fill) {
        std::vector<unsigned char> pixels(static_cast<size_t>(width * height * 4));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                Rgba c = fill(x, y);
                unsigned char* p = &pixels[static_cast<size_t>((y * width + x) * 4)];
                p[0] = static_cast<unsigned char>(c.r);
                p[1] = static_cast<unsigned char>(c.g);
                p[2] = static_cast<unsigned char>(c.b);
                p[3] = static_cast<unsigned char>(c.a);
            }
        }
        return WritePng(name, width, height, 4, pixels);
    }
};

// One window pixel (y down) read through the renderer's ReadPixels.
Rgba PixelAt(gxtkGraphics& g, int x, int y);
// The texture's level 0 read back in the given GL format.
std::vector<unsigned char> TextureBytes(unsigned int texture, unsigned int format, int bytesPerPixel);
