// Images from real files: frame grids, grabbing with the row cursor, flags and
// handles, the default font, and the lifetime of surfaces shared by images.
#include "gl_fixture.h"

#include "graphics/image.h"

#include <filesystem>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace {

// Bytes the process holds on its heap right now (the driver's included).
size_t HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

class ImageTest : public GLTest {
  protected:
    gxtkGraphics g;
    bb_graphics_GraphicsContext context;

    void SetUp() override {
        GLTest::SetUp();
        bb_graphics_device = &g;
        bb_graphics_context = &context;
    }
    void TearDown() override {
        bb_graphics_device = nullptr;
        bb_graphics_context = nullptr;
        GLTest::TearDown();
    }

    std::string Blank(const std::string& name, int width, int height) {
        return WritePngBy(name, width, height, [](int, int) { return Rgba{255, 255, 255, 255}; });
    }

    static std::vector<std::pair<int, int>> Corners(const bb_graphics_Image& image) {
        std::vector<std::pair<int, int>> corners;
        for (const bb_graphics_Frame& f : image.m_frameList) corners.emplace_back(f.m_left, f.m_top);
        return corners;
    }
};

using CornerList = std::vector<std::pair<int, int>>;

TEST_F(ImageTest, FramesOfALoadedImageLieInOneRow) {
    bb_graphics_ImageRef image = bb_graphics_LoadImage(String(Blank("strip.png", 128, 32)), 4, 0);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->m_frameWidth, 32);
    EXPECT_EQ(image->m_frameHeight, 32);
    EXPECT_EQ(Corners(*image), (CornerList{{0, 0}, {32, 0}, {64, 0}, {96, 0}}));
    EXPECT_EQ(image->m_imageFlags, 0);
    EXPECT_EQ(image->m_atlas, nullptr);
    EXPECT_EQ(image->m_texSurface->Width(), 128);

    // A frame count below one is one frame, not a division by zero.
    bb_graphics_ImageRef whole = bb_graphics_LoadImage(String(Blank("whole.png", 20, 10)), 0, 0);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->m_frameList.size(), 1u);
    EXPECT_EQ(whole->m_imageFlags, bb_graphics_Image::WholeSurface);

    EXPECT_FALSE(bb_graphics_LoadImage(String(TempPath("missing.png")), 1, 0));
    EXPECT_FALSE(bb_graphics_LoadImage2(String(TempPath("missing.png")), 8, 8, 1, 0));
}

TEST_F(ImageTest, GrabbedFramesWrapRowByRow) {
    bb_graphics_ImageRef image = bb_graphics_LoadImage2(String(Blank("grid.png", 64, 64)), 16, 16, 10, 0);
    ASSERT_TRUE(image);
    EXPECT_EQ(
        Corners(*image),
        (CornerList{
            {0, 0}, {16, 0}, {32, 0}, {48, 0}, {0, 16}, {16, 16}, {32, 16}, {48, 16}, {0, 32}, {16, 32}}));
    ASSERT_TRUE(image->m_atlas);
    EXPECT_EQ(image->m_texSurface, image->m_atlas->m_texSurface);

    // The first row starts at the given point, later rows at the left edge.
    bb_graphics_ImageRef offset = image->m_atlas->m_GrabImage(40, 8, 16, 16, 3, 0);
    ASSERT_TRUE(offset);
    EXPECT_EQ(Corners(*offset), (CornerList{{40, 8}, {0, 24}, {16, 24}}));

    // Only a single-frame image can be cut up.
    EXPECT_FALSE(image->m_GrabImage(0, 0, 8, 8, 1, 0));
}

TEST_F(ImageTest, GrabbingPastTheSurfaceIsARuntimeError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    bb_graphics_ImageRef atlas = bb_graphics_LoadImage(String(Blank("grid.png", 64, 64)), 1, 0);
    ASSERT_TRUE(atlas);
    EXPECT_TRUE(atlas->m_GrabImage(0, 0, 16, 16, 16, 0));
    // The runtime error goes to standard output; the check reads standard error.
    EXPECT_EXIT(
        {
            dup2(2, 1);
            atlas->m_GrabImage(0, 0, 16, 16, 17, 0);
        },
        testing::ExitedWithCode(255), "Cobalt Runtime Error : Image frame outside surface");
    EXPECT_EXIT(
        {
            dup2(2, 1);
            atlas->m_GrabImage(0, 0, 65, 16, 1, 0);
        },
        testing::ExitedWithCode(255), "Image frame outside surface");
    EXPECT_EXIT(
        {
            dup2(2, 1);
            atlas->m_GrabImage(-1, 0, 16, 16, 1, 0);
        },
        testing::ExitedWithCode(255), "Image frame outside surface");
}

TEST_F(ImageTest, FlagsPadAndCentre) {
    bb_graphics_ImageRef centred = bb_graphics_LoadImage(String(Blank("c.png", 32, 32)), 1, 1);
    ASSERT_TRUE(centred);
    EXPECT_FLOAT_EQ(centred->m_handleX, 16);
    EXPECT_FLOAT_EQ(centred->m_handleY, 16);
    EXPECT_EQ(centred->m_imageFlags, bb_graphics_Image::WholeSurface);

    bb_graphics_ImageRef padded = bb_graphics_LoadImage(String(Blank("p.png", 34, 20)), 1, 3);
    ASSERT_TRUE(padded);
    EXPECT_EQ(Corners(*padded), (CornerList{{1, 0}}));
    EXPECT_EQ(padded->m_frameWidth, 32);
    EXPECT_EQ(padded->m_frameHeight, 20);
    EXPECT_FLOAT_EQ(padded->m_handleX, 16);
    EXPECT_FLOAT_EQ(padded->m_handleY, 10);
    EXPECT_EQ(padded->m_imageFlags, bb_graphics_Image::PadLeftRight);

    bb_graphics_ImageRef cells = bb_graphics_LoadImage2(String(Blank("cells.png", 36, 12)), 12, 12, 3, 6);
    ASSERT_TRUE(cells);
    EXPECT_EQ(Corners(*cells), (CornerList{{1, 1}, {13, 1}, {25, 1}}));
    EXPECT_EQ(cells->m_frameWidth, 10);
    EXPECT_EQ(cells->m_frameHeight, 10);
    EXPECT_EQ(cells->m_imageFlags, 6);

    // A grab covering its whole surface in one frame is drawn as the whole surface.
    bb_graphics_ImageRef one = bb_graphics_LoadImage2(String(Blank("one.png", 8, 8)), 8, 8, 1, 0);
    ASSERT_TRUE(one);
    EXPECT_EQ(one->m_imageFlags, bb_graphics_Image::WholeSurface);
}

TEST_F(ImageTest, DefaultFontLoadsOnceFromTheDataFolder) {
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(tempDir);

    // No font file: no font, and nothing else happens.
    EXPECT_EQ(bb_graphics_SetFont(nullptr, 40), 0);
    EXPECT_EQ(context.m_font, nullptr);
    EXPECT_EQ(context.m_firstChar, 32);

    std::filesystem::create_directory("data");
    Blank("data/rune_font.png", 96 * 8, 10);
    bb_graphics_SetFont(nullptr, 40);
    ASSERT_TRUE(context.m_font);
    EXPECT_EQ(context.m_font, context.m_defaultFont);
    EXPECT_EQ(context.m_firstChar, 32);
    EXPECT_EQ(context.m_font->m_frameList.size(), 96u);
    EXPECT_EQ(context.m_font->m_frameWidth, 6);
    EXPECT_EQ(context.m_font->m_frameList[1].m_left, 9);

    bb_graphics_ImageRef own = bb_graphics_LoadImage(String(Blank("own.png", 16, 8)), 2, 0);
    bb_graphics_SetFont(own, 65);
    EXPECT_EQ(context.m_font, own);
    EXPECT_EQ(context.m_firstChar, 65);

    // The default font is kept and not loaded again.
    bb_graphics_Image* loaded = context.m_defaultFont.get();
    bb_graphics_SetFont(nullptr, 0);
    EXPECT_EQ(context.m_font.get(), loaded);

    std::filesystem::current_path(previous);
}

TEST_F(ImageTest, TexturesLiveAsLongAsTheirImages) {
    std::string path = Blank("sheet.png", 256, 128);
    auto cycle = [&] {
        bb_graphics_ImageRef image = bb_graphics_LoadImage2(String(path), 128, 128, 2, 1);
        ASSERT_TRUE(image);
    };
    for (int i = 0; i < 10; ++i) cycle(); // let the driver and decoder settle
    int live = gxtkSurface::LiveTextures();
    size_t heap = HeapInUse();
    for (int i = 0; i < 200; ++i) cycle();
    EXPECT_EQ(gxtkSurface::LiveTextures(), live);
    // Each cycle decodes and uploads 128 KiB; keeping any of it would show as megabytes.
    EXPECT_LT(HeapInUse(), heap + 1024 * 1024);

    // A grabbed image keeps its atlas, and with it the texture, after the caller drops the atlas.
    bb_graphics_ImageRef atlas = bb_graphics_LoadImage(String(path), 1, 0);
    bb_graphics_ImageRef frames = atlas->m_GrabImage(0, 0, 32, 32, 2, 0);
    std::weak_ptr<bb_graphics_Image> watch = atlas;
    atlas.reset();
    EXPECT_FALSE(watch.expired());
    EXPECT_EQ(gxtkSurface::LiveTextures(), live + 1);
    frames.reset();
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(gxtkSurface::LiveTextures(), live);
}

} // namespace
