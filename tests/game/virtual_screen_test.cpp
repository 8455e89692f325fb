// The virtual screen fit, and the replay of the draw list onto a real window.
#include "harness.h"
#include "harness_data.h"

#include "graphics/image.h"

#include <gtest/gtest.h>

// The larger scale fills the window, down to 320 units across (a phone held
// upright gets a taller screen) and 360 high (a 21:9 monitor a wider one).
TEST(VirtualScreen, FillsTheWindowWithTheLargerScale) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    const struct {
        int width, height;
        float scale, w, h;
        int axis, landscape;
    } cases[] = {{800, 600, 1.25f, 640, 480, 1, 1},
                 {1280, 720, 2, 640, 360, 1, 1},
                 {640, 480, 1, 640, 480, 1, 1},
                 {480, 480, 1, 480, 480, 2, 1},
                 {820, 1180, 1180.0f / 480, 820 / (1180.0f / 480), 480, 2, 0}, // a tablet
                 {720, 1280, 2.25f, 320, 1280 / 2.25f, 1, 0},
                 {390, 844, 390.0f / 320, 320, 844 / (390.0f / 320), 1, 0}, // a phone upright
                 {1170, 2532, 1170.0f / 320, 320, 2532 / (1170.0f / 320), 1, 0},
                 {844, 390, 390.0f / 360, 844 / (390.0f / 360), 360, 2, 1}, // on its side
                 {2560, 1080, 3, 2560 / 3.0f, 360, 2, 1},                   // 21:9
                 {300, 1000, 300.0f / 320, 320, 1000 / (300.0f / 320), 1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        h.Resize(c.width, c.height);
        h.Render();
        EXPECT_FLOAT_EQ(g.ScreenScale, c.scale);
        EXPECT_EQ(g.ScreenScale2, g.ScreenScale);
        EXPECT_FLOAT_EQ(bb_Skitterbat_jscrw, c.w);
        EXPECT_FLOAT_EQ(bb_Skitterbat_jscrh, c.h);
        EXPECT_EQ(g.ScaleAxis, c.axis);
        EXPECT_EQ(g.Landscape, c.landscape);
        EXPECT_EQ(g.DeviceW, c.width);
        EXPECT_EQ(g.DeviceH, c.height);
    }
    // The pointer is read in game units at the new scale.
    h.Resize(1280, 720);
    h.Render();
    h.FinishLoading();
    h.MouseTo(1279, 719);
    g.Mode = 0;
    h.Update();
    EXPECT_EQ(g.MouseX, 639);
    EXPECT_EQ(g.MouseY, 359);
}

namespace {
uint32_t Rgb(uint32_t argb) {
    return argb & 0xffffff;
}
} // namespace

// Rectangles, ovals and images land where their records say, scaled to the window.
TEST(VirtualScreenWindow, ReplayDrawsRecordsAtTheirPlaces) {
    TestDataDir data;
    data.WritePng("square.png", 8, 8, 0xff0000ff);
    HarnessOptions options;
    options.window = true;
    options.dataDir = data.Path();
    options.width = 1280;
    options.height = 720; // scale 2, art level 4
    GameHarness h(options);
    bb_Skitterbat_MyApp& g = h.game;
    ASSERT_EQ(g.ScreenScale, 2);
    ASSERT_EQ(g.ImageInvScale, 0.25f);
    g.Images[50] = bb_graphics_LoadImage2("square.png", 8, 8, 1, 1);
    ASSERT_NE(g.Images[50], nullptr);

    g.m_CLS2D(0, 0, 64, 1);
    g.m_SetCol(255, 0, 0, 1);
    g.m_Rect(10, 10, 20, 20);
    g.m_SetCol(0, 255, 0, 1);
    g.m_Oval(100, 100, 10, 5);
    g.m_ResetDraw();
    g.m_SetSize(4); // 8 art pixels at level 4 and scale 4: 16 window pixels
    g.m_DrawImg(50, 200, 100, 0);
    g.m_DrawImg(51, 300, 100, 0); // not loaded: skipped
    g.m_DrawImg(50, 300, 150, 3); // no such frame: skipped
    h.Render();

    EXPECT_EQ(Rgb(h.PixelAt(5, 5)), 0x000040u); // background
    EXPECT_EQ(Rgb(h.PixelAt(21, 21)), 0xff0000u);
    EXPECT_EQ(Rgb(h.PixelAt(58, 58)), 0xff0000u);
    EXPECT_EQ(Rgb(h.PixelAt(62, 62)), 0x000040u);
    EXPECT_EQ(Rgb(h.PixelAt(200, 200)), 0x00ff00u);
    EXPECT_EQ(Rgb(h.PixelAt(217, 200)), 0x00ff00u); // radius 20 across
    EXPECT_EQ(Rgb(h.PixelAt(200, 213)), 0x000040u); // radius 10 down
    EXPECT_EQ(Rgb(h.PixelAt(400, 200)), 0x0000ffu);
    EXPECT_EQ(Rgb(h.PixelAt(393, 193)), 0x0000ffu);
    EXPECT_EQ(Rgb(h.PixelAt(410, 200)), 0x000040u);
    EXPECT_EQ(Rgb(h.PixelAt(600, 200)), 0x000040u);
    EXPECT_EQ(Rgb(h.PixelAt(600, 300)), 0x000040u);

    // Half alpha blends over the background.
    g.m_CLS2D(0, 0, 0, 1);
    g.m_SetCol(255, 255, 255, 0.5f);
    g.m_Rect(0, 0, 10, 10);
    h.Render();
    const uint32_t half = Rgb(h.PixelAt(5, 5));
    EXPECT_NEAR(static_cast<int>(half & 0xff), 127, 2);
    // Records are replayed by every render until the next clear.
    h.Render();
    EXPECT_EQ(Rgb(h.PixelAt(5, 5)), half);
}
