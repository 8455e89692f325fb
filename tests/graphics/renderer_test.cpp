// The batched renderer on a real GL context: colour packing, when draw calls
// happen, ovals and polygons, scissor, clearing and pixel transfers.
#include "gl_fixture.h"

#include <GL/gl.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

class RendererTest : public GLTest {
  protected:
    std::unique_ptr<gxtkGraphics> g;

    void SetUp() override {
        GLTest::SetUp();
        g = std::make_unique<gxtkGraphics>();
        ASSERT_TRUE(g->Validate());
        ASSERT_EQ(g->Width(), 640);
        ASSERT_EQ(g->Height(), 480);
        g->BeginRender();
        g->SetScissor(0, 0, g->Width(), g->Height());
        g->SetBlend(0);
        g->SetColor(255, 255, 255);
        g->SetAlpha(1);
        g->Cls(0, 0, 0);
    }

    // Vertices drawn by the last draw call alone.
    long VerticesOf(const std::function<void()>& draw) {
        long before = g->verticesDrawn;
        long calls = g->drawCalls;
        draw();
        g->Flush();
        EXPECT_EQ(g->drawCalls, calls + 1);
        return g->verticesDrawn - before;
    }
};

TEST_F(RendererTest, ColourIsPremultipliedPerVertex) {
    g->SetColor(255, 255, 255);
    g->SetAlpha(0.5f);
    EXPECT_EQ(std::memcmp(g->packedColor, "\x7f\x7f\x7f\x7f", 4), 0);
    g->DrawRect(10, 10, 20, 20);
    EXPECT_EQ(std::memcmp(g->batchVertices[3].rgba, "\x7f\x7f\x7f\x7f", 4), 0);

    // Alpha set first, colour second: both orders pack the same.
    g->SetAlpha(0.25f);
    g->SetColor(200, 100, 4);
    EXPECT_EQ(std::memcmp(g->packedColor, "\x32\x19\x01\x3f", 4), 0);
    g->Flush();

    // Half-transparent white over black lands as mid grey.
    Rgba c = PixelAt(*g, 15, 15);
    EXPECT_EQ(c.r, 127);
    EXPECT_EQ(c.g, 127);
    EXPECT_EQ(c.b, 127);
}

TEST_F(RendererTest, RectanglesBatchUpToCapacity) {
    for (int i = 0; i < 256; ++i) g->DrawRect(static_cast<float>(i), 0, 1, 1);
    EXPECT_EQ(g->drawCalls, 0);
    g->DrawRect(0, 10, 1, 1); // the 257th starts a new batch
    EXPECT_EQ(g->drawCalls, 1);
    EXPECT_EQ(g->verticesDrawn, 256 * 4);
    for (int i = 0; i < 43; ++i) g->DrawRect(static_cast<float>(i), 10, 1, 1);
    g->Flush();
    EXPECT_EQ(g->drawCalls, 2);
    EXPECT_EQ(g->verticesDrawn, 300 * 4);
    g->Flush(); // nothing pending, nothing drawn
    EXPECT_EQ(g->drawCalls, 2);
}

TEST_F(RendererTest, KindAndSurfaceChangesBreakBatches) {
    gxtkSurfaceRef surface = g->CreateSurface(4, 4);
    ASSERT_TRUE(surface);
    g->DrawRect(0, 0, 4, 4);
    g->DrawSurface(surface.get(), 10, 0);
    g->DrawRect(20, 0, 4, 4);
    g->Flush();
    EXPECT_EQ(g->drawCalls, 3);

    // Same surface twice in a row stays one batch; lines and points each start their own.
    g->DrawSurface(surface.get(), 0, 0);
    g->DrawSurface2(surface.get(), 5, 0, 1, 1, 2, 2);
    g->DrawLine(0, 0, 10, 10);
    g->DrawPoint(3, 3);
    g->DrawPoint(4, 4);
    g->Flush();
    EXPECT_EQ(g->drawCalls, 6);

    for (int i = 0; i < 513; ++i) g->DrawLine(0, 0, 1, 1);
    g->Flush();
    EXPECT_EQ(g->drawCalls, 8);
    for (int i = 0; i < 1025; ++i) g->DrawPoint(0, 0);
    g->Flush();
    EXPECT_EQ(g->drawCalls, 10);
}

TEST_F(RendererTest, ColourAndMatrixChangesKeepTheBatch) {
    g->SetColor(255, 0, 0);
    g->DrawRect(0, 0, 10, 10);
    g->SetColor(0, 255, 0);
    g->SetAlpha(1);
    g->SetMatrix(1, 0, 0, 1, 100, 0);
    g->DrawRect(0, 0, 10, 10);
    EXPECT_TRUE(g->transformed);
    EXPECT_EQ(g->drawCalls, 0);
    EXPECT_EQ(g->batchCount, 2);
    EXPECT_FLOAT_EQ(g->batchVertices[4].x, 100.0f);
    g->Flush();
    EXPECT_EQ(g->drawCalls, 1);
    EXPECT_EQ(PixelAt(*g, 5, 5), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(PixelAt(*g, 105, 5), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(PixelAt(*g, 50, 5), (Rgba{0, 0, 0, 255}));

    g->SetMatrix(1, 0, 0, 1, 0, 0);
    EXPECT_FALSE(g->transformed);
}

TEST_F(RendererTest, OvalSegmentsFollowTheRadii) {
    EXPECT_EQ(VerticesOf([&] { g->DrawOval(0, 0, 10, 10); }), 12);
    EXPECT_EQ(VerticesOf([&] { g->DrawOval(0, 0, 100, 100); }), 100);
    EXPECT_EQ(VerticesOf([&] { g->DrawOval(0, 0, 1000, 1000); }), 1000);
    EXPECT_EQ(VerticesOf([&] { g->DrawOval(0, 0, 3000, 3000); }), 1024);
    EXPECT_EQ(VerticesOf([&] { g->DrawOval(0, 0, 30, 27); }), 28);
    EXPECT_EQ(VerticesOf([&] { g->DrawOval(0, 0, -30, 27); }), 28);
    // Under a transform the transformed radii count: 100 and 100 scaled by 2.
    g->SetMatrix(2, 0, 0, 2, 0, 0);
    EXPECT_EQ(VerticesOf([&] { g->DrawOval(0, 0, 100, 100); }), 200);
    g->SetMatrix(1, 0, 0, 1, 0, 0);

    // An oval flushes what was pending first, then draws itself at once.
    g->Cls(0, 0, 0);
    g->DrawRect(0, 0, 1, 1);
    long calls = g->drawCalls;
    g->DrawOval(300, 200, 40, 20);
    EXPECT_EQ(g->drawCalls, calls + 2);
    EXPECT_EQ(g->batchCount, 0);
    EXPECT_EQ(PixelAt(*g, 320, 210), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(PixelAt(*g, 301, 201), (Rgba{0, 0, 0, 255})); // corner of the bounding box
}

TEST_F(RendererTest, PolygonsWithinLimitsDrawAsFans) {
    g->DrawRect(600, 400, 1, 1);
    Array<float> two(4);
    g->DrawPoly(two);
    Array<float> tooMany(2050);
    g->DrawPoly(tooMany);
    EXPECT_EQ(g->drawCalls, 0);
    EXPECT_EQ(g->batchCount, 1); // the pending rectangle was not flushed

    Array<float> triangle(6);
    float points[] = {100, 100, 200, 100, 100, 200};
    for (int i = 0; i < 6; ++i) triangle[i] = points[i];
    g->DrawPoly(triangle);
    EXPECT_EQ(g->drawCalls, 2);
    EXPECT_EQ(PixelAt(*g, 120, 120), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(PixelAt(*g, 190, 190), (Rgba{0, 0, 0, 255}));

    Array<float> most(2048);
    EXPECT_EQ(VerticesOf([&] { g->DrawPoly(most); }), 1024);
}

TEST_F(RendererTest, ScissorIsOffForTheWholeWindowAndFlippedOtherwise) {
    g->DrawRect(0, 0, 1, 1);
    g->SetScissor(10, 20, 30, 40);
    EXPECT_EQ(g->drawCalls, 1); // flushed before the change
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    GLint box[4];
    glGetIntegerv(GL_SCISSOR_BOX, box);
    EXPECT_EQ(box[0], 10);
    EXPECT_EQ(box[1], 480 - 20 - 40);
    EXPECT_EQ(box[2], 30);
    EXPECT_EQ(box[3], 40);

    // The box limits clearing and drawing, counted from the top.
    g->Cls(0, 0, 255);
    g->DrawRect(0, 0, 640, 480);
    g->Flush();
    g->SetScissor(0, 0, 640, 480);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    EXPECT_EQ(PixelAt(*g, 15, 25), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(PixelAt(*g, 15, 15), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(PixelAt(*g, 15, 65), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(PixelAt(*g, 45, 25), (Rgba{0, 0, 0, 255}));
}

TEST_F(RendererTest, ClsDropsThePendingBatch) {
    g->DrawRect(0, 0, 100, 100);
    g->DrawRect(200, 0, 100, 100);
    g->Cls(0, 0, 255);
    g->Flush();
    EXPECT_EQ(g->drawCalls, 0);
    EXPECT_EQ(PixelAt(*g, 50, 50), (Rgba{0, 0, 255, 255}));
    EXPECT_EQ(PixelAt(*g, 250, 50), (Rgba{0, 0, 255, 255}));
}

TEST_F(RendererTest, BlendModesAddOrCover) {
    g->Cls(100, 0, 0);
    g->SetColor(0, 100, 0);
    g->DrawRect(0, 0, 10, 10);
    g->SetBlend(1);
    EXPECT_EQ(g->drawCalls, 1);
    g->DrawRect(20, 0, 10, 10);
    g->SetBlend(0);
    EXPECT_EQ(g->drawCalls, 2);
    EXPECT_EQ(PixelAt(*g, 5, 5), (Rgba{0, 100, 0, 255}));
    EXPECT_EQ(PixelAt(*g, 25, 5), (Rgba{100, 100, 0, 255}));
}

TEST_F(RendererTest, ReadPixelsGivesTopRowFirstAsArgb) {
    g->Cls(10, 20, 30);
    g->SetColor(255, 0, 0);
    g->DrawRect(0, 0, 3, 1);
    Array<int> pixels(2 + 2 * 5);
    pixels[0] = 7;
    g->ReadPixels(pixels, 0, 0, 3, 2, 2, 5);
    EXPECT_EQ(pixels[0], 7);
    EXPECT_EQ(static_cast<uint32_t>(pixels[2]), 0xffff0000u);
    EXPECT_EQ(static_cast<uint32_t>(pixels[4]), 0xffff0000u);
    EXPECT_EQ(pixels[5], 0); // between rows: untouched
    EXPECT_EQ(static_cast<uint32_t>(pixels[7]), 0xff0a141eu);
    EXPECT_EQ(static_cast<uint32_t>(pixels[9]), 0xff0a141eu);

    // A rectangle that would run past the array leaves it alone.
    Array<int> small(4);
    g->ReadPixels(small, 0, 0, 3, 2, 0, 3);
    EXPECT_EQ(small[0], 0);
}

TEST_F(RendererTest, RowsThatWouldOverlapAreRefused) {
    // With a pitch below the width every row would land on the same elements,
    // and the array would no longer bound the rectangle's size.
    gxtkSurfaceRef surface = g->CreateSurface(2, 2);
    ASSERT_TRUE(surface);
    Array<int> opaque(4);
    for (int i = 0; i < 4; ++i) opaque[i] = static_cast<int>(0xff102030u);
    g->WritePixels2(surface.get(), opaque, 0, 0, 2, 2, 0, 2);
    const std::vector<unsigned char> before = TextureBytes(surface->textureName, GL_BGRA, 4);

    Array<int> row(2);
    row[0] = 5;
    for (int pitch : {0, 1, -2}) {
        SCOPED_TRACE(pitch);
        g->ReadPixels(row, 0, 0, 2, 2, 0, pitch);
        EXPECT_EQ(row[0], 5);
        g->WritePixels2(surface.get(), row, 0, 0, 2, 2, 0, pitch);
        EXPECT_EQ(TextureBytes(surface->textureName, GL_BGRA, 4), before);
    }
    // One row needs no pitch at all.
    g->ReadPixels(row, 0, 0, 2, 1, 0, 0);
    EXPECT_EQ(static_cast<uint32_t>(row[0]), 0xff000000u);
}

TEST_F(RendererTest, DenseScreensClipAndReadBackInWindowUnits) {
    // A framebuffer of 640 x 480 pixels behind a window of 320 x 240 units.
    struct Restore {
        ~Restore() {
            platform.width = 640;
            platform.height = 480;
            platform.framebufferScale = 1;
        }
    } restore;
    platform.width = 320;
    platform.height = 240;
    platform.framebufferScale = 2;
    ASSERT_TRUE(g->Validate());
    g->BeginRender();
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 480);

    g->SetScissor(10, 20, 30, 40);
    GLint box[4];
    glGetIntegerv(GL_SCISSOR_BOX, box);
    EXPECT_EQ(box[0], 20);
    EXPECT_EQ(box[1], 2 * (240 - 20 - 40));
    EXPECT_EQ(box[2], 60);
    EXPECT_EQ(box[3], 80);
    g->Cls(0, 0, 0);
    g->DrawRect(0, 0, 320, 240);
    g->SetScissor(0, 0, 320, 240);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    g->SetColor(255, 0, 0);
    g->DrawRect(100, 100, 10, 10);
    g->Flush();

    // Read back in the units it was drawn in: the box edges and the square.
    EXPECT_EQ(PixelAt(*g, 10, 20), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(PixelAt(*g, 39, 59), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(PixelAt(*g, 9, 20), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(PixelAt(*g, 40, 59), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(PixelAt(*g, 39, 60), (Rgba{0, 0, 0, 255}));
    Array<int> square(12 * 12);
    g->ReadPixels(square, 99, 99, 12, 12, 0, 12);
    for (int row = 0; row < 12; ++row) {
        for (int column = 0; column < 12; ++column) {
            const bool inside = row >= 1 && row <= 10 && column >= 1 && column <= 10;
            EXPECT_EQ(static_cast<uint32_t>(square[row * 12 + column]), inside ? 0xffff0000u : 0xff000000u)
                << column << "," << row;
        }
    }
}

TEST_F(RendererTest, WritePixelsPremultipliesIntoTheTexture) {
    gxtkSurfaceRef surface = g->CreateSurface(2, 2);
    ASSERT_TRUE(surface);
    Array<int> pixels(4);
    pixels[0] = static_cast<int>(0x80ff0000u); // half-transparent red
    pixels[1] = static_cast<int>(0xff00ff00u);
    pixels[2] = static_cast<int>(0xff0000ffu);
    pixels[3] = 0;
    g->WritePixels2(surface.get(), pixels, 0, 0, 2, 2, 0, 2);
    g->DrawSurface(surface.get(), 50, 60);
    g->Flush();
    EXPECT_EQ(PixelAt(*g, 50, 60), (Rgba{128, 0, 0, 255}));
    EXPECT_EQ(PixelAt(*g, 51, 60), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(PixelAt(*g, 50, 61), (Rgba{0, 0, 255, 255}));
    EXPECT_EQ(PixelAt(*g, 51, 61), (Rgba{0, 0, 0, 255}));
}

TEST_F(RendererTest, DroppingASurfaceDrawsItsPendingBatchFirst) {
    gxtkSurfaceRef surface = g->CreateSurface(2, 2);
    ASSERT_TRUE(surface);
    Array<int> pixels(4);
    for (int i = 0; i < 4; ++i) pixels[i] = static_cast<int>(0xff00ff00u);
    g->WritePixels2(surface.get(), pixels, 0, 0, 2, 2, 0, 2);
    g->DrawSurface(surface.get(), 30, 30);
    surface.reset();
    EXPECT_EQ(g->drawCalls, 1);
    EXPECT_EQ(g->batchSurface, nullptr);
    EXPECT_EQ(PixelAt(*g, 31, 31), (Rgba{0, 255, 0, 255}));
}

// The renderer sets texture state only when it changes; a texture bound by
// anything else must not leave the next batch drawn with the wrong one.
TEST_F(RendererTest, TexturesBoundElsewhereAreBoundAgain) {
    auto solid = [&](uint32_t argb) {
        gxtkSurfaceRef surface = g->CreateSurface(1, 1);
        Array<int> pixel(1);
        pixel[0] = static_cast<int>(argb);
        g->WritePixels2(surface.get(), pixel, 0, 0, 1, 1, 0, 1);
        return surface;
    };
    const gxtkSurfaceRef red = solid(0xffff0000u);
    gxtkSurfaceRef other;
    const std::string greenPng = WritePngBy("green.png", 1, 1, [](int, int) { return Rgba{0, 255, 0, 255}; });
    const std::pair<const char*, std::function<void()>> meddlers[] = {
        {"another surface created", [&] { other = g->CreateSurface(1, 1); }},
        {"another surface written", [&] { other = solid(0xff0000ffu); }},
        {"another surface loaded", [&] { other = g->LoadSurface(String(greenPng)); }},
        {"the drawn surface's texture deleted, its name reused",
         [&] {
             gxtkSurfaceRef doomed = solid(0xff00ff00u);
             g->DrawSurface(doomed.get(), 0, 0);
             g->Flush();
             doomed.reset();
             other = solid(0xff0000ffu);
         }},
    };
    for (const auto& [what, meddle] : meddlers) {
        SCOPED_TRACE(what);
        g->Cls(0, 0, 0);
        g->DrawSurface(red.get(), 10, 10);
        g->Flush();
        meddle();
        g->DrawSurface(red.get(), 20, 10);
        g->Flush();
        EXPECT_EQ(PixelAt(*g, 10, 10), (Rgba{255, 0, 0, 255}));
        EXPECT_EQ(PixelAt(*g, 20, 10), (Rgba{255, 0, 0, 255}));
        // And the other texture, drawn next, is its own.
        g->DrawSurface(other.get(), 30, 10);
        g->DrawRect(40, 10, 1, 1);
        g->Flush();
        EXPECT_NE(PixelAt(*g, 30, 10), (Rgba{255, 0, 0, 255}));
        EXPECT_EQ(PixelAt(*g, 40, 10), (Rgba{255, 255, 255, 255}));
    }
}

// Frame state stays set from one frame to the next; whatever a frame ends
// with, the next starts with alpha blending and the window's current size.
TEST_F(RendererTest, EachFrameStartsAlikeWhateverTheLastLeft) {
    struct Restore {
        ~Restore() {
            platform.width = 640;
            platform.height = 480;
        }
    } restore;
    gxtkSurfaceRef green = g->CreateSurface(1, 1);
    Array<int> pixel(1);
    pixel[0] = static_cast<int>(0xff00ff00u);
    g->WritePixels2(green.get(), pixel, 0, 0, 1, 1, 0, 1);
    // A whole frame after the upload, which made the renderer forget its state.
    g->EndRender();
    g->BeginRender();
    g->SetBlend(1);
    g->DrawSurface(green.get(), 0, 0);
    g->EndRender();

    platform.width = 320;
    platform.height = 240;
    ASSERT_TRUE(g->Validate());
    g->BeginRender();
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 320);
    EXPECT_EQ(viewport[3], 240);
    g->Cls(100, 0, 0);
    g->SetColor(0, 0, 200);
    g->DrawRect(310, 230, 10, 10);
    g->SetColor(255, 255, 255);
    g->DrawSurface(green.get(), 300, 230);
    g->Flush();
    EXPECT_EQ(PixelAt(*g, 315, 235), (Rgba{0, 0, 200, 255}));
    EXPECT_EQ(PixelAt(*g, 300, 230), (Rgba{0, 255, 0, 255}));
    EXPECT_EQ(PixelAt(*g, 305, 235), (Rgba{100, 0, 0, 255}));
}

} // namespace
