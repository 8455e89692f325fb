// Surfaces from real PNG files: premultiplied upload per depth, texture scale,
// failures that leave nothing behind, and texture lifetime.
#include "gl_fixture.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

class SurfaceTest : public GLTest {
  protected:
    gxtkGraphics g;
};

TEST_F(SurfaceTest, RgbaPixelsArePremultipliedOnUpload) {
    std::string path = WritePng("rgba.png", 2, 1, 4, {255, 128, 10, 128, 0, 0, 0, 255});
    gxtkSurfaceRef surface = g.LoadSurface(String(path));
    ASSERT_TRUE(surface);
    EXPECT_EQ(surface->bytesPerPixel, 4);
    EXPECT_EQ(surface->pixels, nullptr); // the texture is the only copy
    std::vector<unsigned char> bytes = TextureBytes(surface->textureName, GL_RGBA, 4);
    ASSERT_GE(bytes.size(), 8u);
    EXPECT_EQ(bytes[0], 128);
    EXPECT_EQ(bytes[1], 64);
    EXPECT_EQ(bytes[2], 5);
    EXPECT_EQ(bytes[3], 128);
    EXPECT_EQ(bytes[7], 255);
}

TEST_F(SurfaceTest, GreyAlphaIsPremultipliedAndOpaqueDepthsKept) {
    std::string greyAlpha = WritePng("ga.png", 1, 1, 2, {200, 51});
    gxtkSurfaceRef surface = g.LoadSurface(String(greyAlpha));
    ASSERT_TRUE(surface);
    EXPECT_EQ(surface->bytesPerPixel, 2);
    std::vector<unsigned char> bytes = TextureBytes(surface->textureName, GL_LUMINANCE_ALPHA, 2);
    EXPECT_EQ(bytes[0], 40);
    EXPECT_EQ(bytes[1], 51);

    std::string rgb = WritePng("rgb.png", 1, 1, 3, {255, 128, 10});
    surface = g.LoadSurface(String(rgb));
    ASSERT_TRUE(surface);
    EXPECT_EQ(surface->bytesPerPixel, 3);
    bytes = TextureBytes(surface->textureName, GL_RGB, 3);
    EXPECT_EQ(bytes[0], 255);
    EXPECT_EQ(bytes[1], 128);
    EXPECT_EQ(bytes[2], 10);

    std::string grey = WritePng("grey.png", 1, 1, 1, {77});
    surface = g.LoadSurface(String(grey));
    ASSERT_TRUE(surface);
    EXPECT_EQ(surface->bytesPerPixel, 1);
    bytes = TextureBytes(surface->textureName, GL_LUMINANCE, 1);
    EXPECT_EQ(bytes[0], 77);
}

TEST_F(SurfaceTest, TextureScaleMatchesTheImageSize) {
    std::vector<unsigned char> pixels(100 * 50 * 4, 255);
    gxtkSurfaceRef surface = g.LoadSurface(String(WritePng("wide.png", 100, 50, 4, pixels)));
    ASSERT_TRUE(surface);
    EXPECT_EQ(surface->Width(), 100);
    EXPECT_EQ(surface->Height(), 50);
    EXPECT_TRUE(surface->Loaded());
    EXPECT_FLOAT_EQ(surface->texScaleU, 1.0f / 100);
    EXPECT_FLOAT_EQ(surface->texScaleV, 1.0f / 50);
    EXPECT_TRUE(glIsTexture(surface->textureName));
}

// Desktop GL only, like TextureBytes: the texture's size is read back from GL.
// Loads a 100 x 50 red image and reports on standard error what texture it got;
// 0 when it is a 128 x 64 texture with the image in its top-left corner.
int PaddedUploadStatus(gxtkGraphics& g, const std::string& path) {
    gxtkSurfaceRef surface = g.LoadSurface(String(path));
    if (!surface) {
        std::fputs("not loaded\n", stderr);
        return 1;
    }
    GLint width = 0, height = 0;
    glBindTexture(GL_TEXTURE_2D, surface->textureName);
    gxtkGraphics::ForgetGLState();
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::fprintf(stderr, "texture %dx%d scale %g %g\n", width, height, surface->texScaleU,
                 surface->texScaleV);
    if (width != 128 || height != 64) return 1;
    std::vector<unsigned char> bytes = TextureBytes(surface->textureName, GL_RGBA, 4);
    const unsigned char* last = &bytes[static_cast<size_t>((49 * 128 + 99) * 4)];
    bool ok = surface->texScaleU == 1.0f / 128 && surface->texScaleV == 1.0f / 64 &&
              surface->Width() == 100 && bytes[0] == 255 && last[0] == 255 && last[3] == 255;
    return ok ? 0 : 1;
}

TEST_F(SurfaceTest, DriversWithoutOddSizesGetAPaddedTexture) {
    // Mesa without non-power-of-two textures refuses 100 x 50; the override only
    // takes effect in a fresh process, so the check runs in a child.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::vector<unsigned char> pixels(100 * 50 * 4, 0);
    for (size_t i = 0; i < pixels.size(); i += 4) pixels[i] = 255, pixels[i + 3] = 255;
    std::string path = WritePng("odd.png", 100, 50, 4, pixels);
    setenv("MESA_EXTENSION_OVERRIDE", "-GL_ARB_texture_non_power_of_two", 1);
    EXPECT_EXIT(std::_Exit(PaddedUploadStatus(g, path)), testing::ExitedWithCode(0), "texture 128x64");
    unsetenv("MESA_EXTENSION_OVERRIDE");
}

TEST_F(SurfaceTest, PowerOfTwoSizes) {
    EXPECT_EQ(Pow2Size(-5), 1);
    EXPECT_EQ(Pow2Size(0), 1);
    EXPECT_EQ(Pow2Size(1), 1);
    EXPECT_EQ(Pow2Size(3), 4);
    EXPECT_EQ(Pow2Size(64), 64);
    EXPECT_EQ(Pow2Size(65), 128);
    EXPECT_EQ(Pow2Size(1025), 2048);
}

TEST_F(SurfaceTest, FailuresReturnNullAndKeepNoTexture) {
    int live = gxtkSurface::LiveTextures();
    EXPECT_FALSE(g.LoadSurface(String(TempPath("missing.png"))));
    EXPECT_FALSE(g.LoadSurface(String("cobalt://nowhere/x.png")));

    std::string junk = TempPath("junk.png");
    FILE* file = std::fopen(junk.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("not an image at all", file);
    std::fclose(file);
    gxtkSurface surface;
    EXPECT_EQ(g.LoadSurface__UNSAFE__(&surface, String(junk)), nullptr);
    EXPECT_EQ(surface.pixels, nullptr); // left untouched
    EXPECT_EQ(surface.pixelWidth, 0);
    EXPECT_FALSE(g.LoadSurface(String(junk)));

    // Too large for GL at any size: refused, and its texture name is released.
    EXPECT_FALSE(g.CreateSurface(1 << 20, 1));
    EXPECT_FALSE(g.CreateSurface(0, 16));
    EXPECT_EQ(gxtkSurface::LiveTextures(), live);
}

TEST_F(SurfaceTest, DecodingIsSeparateFromUpload) {
    std::string path = WritePng("two.png", 2, 1, 4, {10, 20, 30, 255, 40, 50, 60, 0});
    gxtkSurface surface;
    ASSERT_EQ(g.LoadSurface__UNSAFE__(&surface, String(path)), &surface);
    EXPECT_EQ(surface.textureName, 0u);
    ASSERT_NE(surface.pixels, nullptr);
    EXPECT_EQ(surface.pixels[4], 40);
    EXPECT_TRUE(surface.OnUnsafeLoadComplete());
    EXPECT_NE(surface.textureName, 0u);
    EXPECT_EQ(surface.pixels, nullptr);
    std::vector<unsigned char> bytes = TextureBytes(surface.textureName, GL_RGBA, 4);
    EXPECT_EQ(bytes[4], 0); // fully transparent colour drops to zero

    int live = gxtkSurface::LiveTextures();
    unsigned int name = surface.textureName;
    surface.Discard();
    EXPECT_EQ(surface.textureName, 0u);
    EXPECT_FALSE(glIsTexture(name));
    EXPECT_EQ(gxtkSurface::LiveTextures(), live - 1);
    surface.Discard(); // twice is harmless
    EXPECT_EQ(gxtkSurface::LiveTextures(), live - 1);
}

TEST_F(SurfaceTest, DecodesFromMemory) {
    std::string path = WritePng("mem.png", 3, 2, 4, std::vector<unsigned char>(24, 9));
    FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::vector<unsigned char> bytes(4096);
    size_t count = std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    int width = 0, height = 0, depth = 0;
    unsigned char* pixels = loadImage(bytes.data(), static_cast<int>(count), &width, &height, &depth);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(width, 3);
    EXPECT_EQ(height, 2);
    EXPECT_EQ(depth, 4);
    unloadImage(pixels);
    EXPECT_EQ(loadImage(bytes.data(), 10, &width, &height, &depth), nullptr);
}

} // namespace
