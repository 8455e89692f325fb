// The drawing context: matrix composition and stack, the frame start, and
// images drawn through the real renderer to the pixels their handle, rotation
// and scale call for.
#include "gl_fixture.h"

#include "graphics/image.h"

#include <GL/gl.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <vector>

namespace {

// The real renderer, counting the matrices the context hands it.
class CountingGraphics : public gxtkGraphics {
  public:
    int matrixCalls = 0;
    int SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) override {
        ++matrixCalls;
        return gxtkGraphics::SetMatrix(ix, iy, jx, jy, tx, ty);
    }
};

const Rgba kRed{255, 0, 0, 255};
const Rgba kGreen{0, 255, 0, 255};
const Rgba kBlue{0, 0, 255, 255};
const Rgba kBlack{0, 0, 0, 255};

class ContextTest : public GLTest {
  protected:
    CountingGraphics g;
    bb_graphics_GraphicsContext context;

    void SetUp() override {
        GLTest::SetUp();
        bb_graphics_device = &g;
        bb_graphics_context = &context;
        ASSERT_TRUE(g.Validate());
        g.BeginRender();
        bb_graphics_BeginRender();
        g.Cls(0, 0, 0);
    }
    void TearDown() override {
        bb_graphics_EndRender();
        bb_graphics_device = nullptr;
        bb_graphics_context = nullptr;
        GLTest::TearDown();
    }

    // Two 32 x 32 frames side by side: red, then green; handle at the frame centre.
    bb_graphics_ImageRef RedGreen() {
        return bb_graphics_LoadImage(
            String(WritePngBy("rg.png", 64, 32, [](int x, int) { return x < 32 ? kRed : kGreen; })), 2, 1);
    }
};

TEST_F(ContextTest, TransformsComposeInLocalSpace) {
    bb_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
    EXPECT_FALSE(context.m_transformed);
    bb_graphics_Translate(10, 0);
    bb_graphics_Rotate(90);
    EXPECT_TRUE(context.m_transformed);
    EXPECT_TRUE(context.m_matrixDirty);
    // The local point (1, 0).
    float x = context.m_xAxisX + context.m_originX;
    float y = context.m_xAxisY + context.m_originY;
    EXPECT_NEAR(x, 10, 1e-6);
    EXPECT_NEAR(y, -1, 1e-6);

    bb_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
    bb_graphics_Scale(2, 3);
    bb_graphics_Translate(5, 7);
    EXPECT_FLOAT_EQ(context.m_originX, 10);
    EXPECT_FLOAT_EQ(context.m_originY, 21);

    Array<float> m(6);
    float values[] = {1, 2, 3, 4, 5, 6};
    for (int i = 0; i < 6; ++i) m[i] = values[i];
    bb_graphics_SetMatrix2(m);
    EXPECT_FLOAT_EQ(context.m_yAxisY, 4);
    bb_graphics_Transform2(m);
    // (1,2,3,4,5,6) applied to itself: x axis (1+6, 2+8), y axis (3+12, 6+16), origin (5+18+5, 10+24+6).
    EXPECT_FLOAT_EQ(context.m_xAxisX, 7);
    EXPECT_FLOAT_EQ(context.m_xAxisY, 10);
    EXPECT_FLOAT_EQ(context.m_yAxisX, 15);
    EXPECT_FLOAT_EQ(context.m_yAxisY, 22);
    EXPECT_FLOAT_EQ(context.m_originX, 28);
    EXPECT_FLOAT_EQ(context.m_originY, 40);
}

TEST_F(ContextTest, MatrixStackRestoresInOrder) {
    for (int i = 0; i < 32; ++i) {
        bb_graphics_SetMatrix(1, 0, 0, 1, static_cast<float>(i), 0);
        bb_graphics_PushMatrix();
    }
    EXPECT_EQ(context.m_matrixDepth, 192);
    bb_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
    for (int i = 31; i >= 0; --i) {
        context.m_matrixDirty = false;
        bb_graphics_PopMatrix();
        EXPECT_FLOAT_EQ(context.m_originX, static_cast<float>(i));
        EXPECT_TRUE(context.m_matrixDirty);
        EXPECT_EQ(context.m_transformed, i != 0);
    }
    EXPECT_EQ(context.m_matrixDepth, 0);
}

TEST_F(ContextTest, UnbalancedStackUseIsARuntimeError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            dup2(2, 1);
            for (int i = 0; i < 33; ++i) bb_graphics_PushMatrix();
        },
        testing::ExitedWithCode(255), "Cobalt Runtime Error : Matrix stack overflow");
    EXPECT_EXIT(
        {
            dup2(2, 1);
            bb_graphics_PopMatrix();
        },
        testing::ExitedWithCode(255), "Cobalt Runtime Error : Matrix stack underflow");
}

TEST_F(ContextTest, FrameStartResetsContextAndRenderer) {
    bb_graphics_SetColor(10, 20, 30);
    bb_graphics_SetAlpha(0.5f);
    bb_graphics_SetBlend(1);
    bb_graphics_SetScissor(10.7f, 20.2f, 30.9f, 40.5f);
    GLint box[4];
    glGetIntegerv(GL_SCISSOR_BOX, box);
    EXPECT_EQ(box[0], 10);
    EXPECT_EQ(box[1], 480 - 20 - 40);
    EXPECT_EQ(box[2], 30);
    EXPECT_EQ(box[3], 40);
    EXPECT_FLOAT_EQ(context.m_scissorWidth, 30.9f);
    bb_graphics_Translate(3, 4);
    bb_graphics_PushMatrix();
    bb_graphics_EndRender();
    EXPECT_EQ(bb_graphics_renderDevice, nullptr);

    bb_graphics_BeginRender();
    EXPECT_EQ(bb_graphics_renderDevice, &g);
    EXPECT_EQ(context.m_matrixDepth, 0);
    EXPECT_FALSE(context.m_transformed);
    EXPECT_TRUE(context.m_matrixDirty);
    EXPECT_FLOAT_EQ(context.m_originX, 0);
    EXPECT_FLOAT_EQ(context.m_red, 255);
    EXPECT_FLOAT_EQ(context.m_alpha, 1);
    EXPECT_EQ(context.m_blend, 0);
    EXPECT_FLOAT_EQ(context.m_scissorWidth, 640);
    EXPECT_FLOAT_EQ(context.m_scissorHeight, 480);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    EXPECT_EQ(g.packedColor[0], 255);
    EXPECT_EQ(g.packedColor[3], 255);
    EXPECT_EQ(bb_graphics_DeviceWidth(), 640);
    EXPECT_EQ(bb_graphics_DeviceHeight(), 480);

    // A renderer in mode 0 renders nothing: the frame start is skipped.
    bb_graphics_EndRender();
    g.mode = 0;
    bb_graphics_BeginRender();
    EXPECT_EQ(bb_graphics_renderDevice, nullptr);
    g.mode = 1;
    bb_graphics_BeginRender();
}

TEST_F(ContextTest, IdentityDrawsSendNoMatrixAndKeepTheBatch) {
    bb_graphics_ImageRef image = RedGreen();
    ASSERT_TRUE(image);
    bb_graphics_DrawRect(0, 0, 1, 1); // the frame start's matrix goes out once
    EXPECT_EQ(g.matrixCalls, 1);
    g.Flush();
    long calls = g.drawCalls;

    bb_graphics_DrawImage(image.get(), 100, 100, 1);
    bb_graphics_SetColor(255, 0, 0);
    bb_graphics_SetColor(255, 255, 255);
    bb_graphics_DrawImage(image.get(), 200, 100, 0);
    EXPECT_EQ(g.matrixCalls, 1);
    EXPECT_EQ(g.batchCount, 2);
    EXPECT_FLOAT_EQ(g.batchVertices[0].x, 84);
    EXPECT_FLOAT_EQ(g.batchVertices[0].y, 84);
    g.Flush();
    EXPECT_EQ(g.drawCalls, calls + 1);

    EXPECT_EQ(PixelAt(g, 84, 84), kGreen);
    EXPECT_EQ(PixelAt(g, 115, 115), kGreen);
    EXPECT_EQ(PixelAt(g, 83, 100), kBlack);
    EXPECT_EQ(PixelAt(g, 116, 100), kBlack);
    EXPECT_EQ(PixelAt(g, 184, 84), kRed);
    EXPECT_EQ(PixelAt(g, 215, 115), kRed);

    // Under a transform the image goes through the matrix, which is sent each time it changes.
    bb_graphics_Scale(2, 2);
    bb_graphics_DrawImage(image.get(), 50, 50, 0);
    EXPECT_EQ(g.matrixCalls, 2);
    EXPECT_TRUE(context.m_matrixDirty); // popped back after the draw
    EXPECT_FLOAT_EQ(context.m_originX, 0);
    g.Flush();
    EXPECT_EQ(PixelAt(g, 70, 70), kRed);
    EXPECT_EQ(PixelAt(g, 126, 126), kRed);
    EXPECT_EQ(PixelAt(g, 66, 100), kBlack);
    EXPECT_EQ(PixelAt(g, 133, 100), kBlack);

    // Nothing to draw: no image, a frame it lacks.
    bb_graphics_DrawImage(nullptr, 0, 0, 0);
    bb_graphics_DrawImage(image.get(), 0, 0, 2);
    bb_graphics_DrawImage2(image.get(), 0, 0, 0, 1, 1, -1);
    EXPECT_EQ(g.batchCount, 0);
}

TEST_F(ContextTest, DrawImage2TurnsAndScalesAboutTheHandle) {
    // 32 x 16: red left half, blue right half, handle (16, 8).
    bb_graphics_ImageRef image = bb_graphics_LoadImage(
        String(WritePngBy("rb.png", 32, 16, [](int x, int) { return x < 16 ? kRed : kBlue; })), 1, 1);
    ASSERT_TRUE(image);
    ASSERT_TRUE(image->m_imageFlags & bb_graphics_Image::WholeSurface);

    // Turned by 90 degrees the image's x axis points up the screen; doubled it spans 64 pixels.
    bb_graphics_DrawImage2(image.get(), 200, 200, 90, 2, 1, 0);
    // Unturned and doubled both ways.
    bb_graphics_DrawImage2(image.get(), 400, 100, 0, 2, 2, 0);
    g.Flush();
    EXPECT_FALSE(context.m_transformed);

    EXPECT_EQ(PixelAt(g, 195, 172), kBlue);
    EXPECT_EQ(PixelAt(g, 205, 195), kBlue);
    EXPECT_EQ(PixelAt(g, 195, 205), kRed);
    EXPECT_EQ(PixelAt(g, 205, 228), kRed);
    EXPECT_EQ(PixelAt(g, 200, 165), kBlack);
    EXPECT_EQ(PixelAt(g, 200, 235), kBlack);
    EXPECT_EQ(PixelAt(g, 189, 190), kBlack);
    EXPECT_EQ(PixelAt(g, 210, 190), kBlack);

    EXPECT_EQ(PixelAt(g, 370, 86), kRed);
    EXPECT_EQ(PixelAt(g, 396, 114), kRed);
    EXPECT_EQ(PixelAt(g, 404, 86), kBlue);
    EXPECT_EQ(PixelAt(g, 429, 114), kBlue);
    EXPECT_EQ(PixelAt(g, 366, 100), kBlack);
    EXPECT_EQ(PixelAt(g, 433, 100), kBlack);
    EXPECT_EQ(PixelAt(g, 400, 82), kBlack);
    EXPECT_EQ(PixelAt(g, 400, 117), kBlack);
}

TEST_F(ContextTest, ShapesGoThroughTheContextMatrix) {
    bb_graphics_Translate(100, 0);
    bb_graphics_DrawRect(0, 0, 10, 10);
    bb_graphics_DrawLine(0, 20, 10, 20);
    g.Flush();
    EXPECT_EQ(PixelAt(g, 105, 5), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(PixelAt(g, 5, 5), kBlack);

    long vertices = g.verticesDrawn;
    bb_graphics_DrawEllipse(200, 200, 50, 50); // centre and radii: a 100-wide oval
    EXPECT_EQ(g.verticesDrawn - vertices, 100);
    EXPECT_EQ(PixelAt(g, 300, 200), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(PixelAt(g, 255, 155), kBlack);
}

// Image draws compose their matrix without the stack; the renderer must get,
// bit for bit, what a push, the documented transforms and a pop would give.
TEST_F(ContextTest, ImageDrawsSendTheComposedMatrixExactly) {
    bb_graphics_ImageRef image = RedGreen();
    ASSERT_TRUE(image);
    struct Draw {
        float x, y, rotation, scaleX, scaleY;
    };
    const Draw draws[] = {{100, 100, 0, 1, 1},
                          {33.3f, 71.7f, 37, 0.75f, 0.75f},
                          {-5.5f, 400.25f, -123.4f, 2.5f, -1.3f},
                          {320.1f, 239.9f, 359.9f, 1e-3f, 7}};
    const std::function<void()> contexts[] = {
        [] {},
        [] { bb_graphics_Scale(1.7f, 1.3f); },
        [] {
            bb_graphics_Translate(13.1f, -7.9f);
            bb_graphics_Rotate(21.5f);
            bb_graphics_Scale(0.6f, 1.9f);
        },
    };
    auto current = [&] {
        return std::vector<float>{context.m_xAxisX, context.m_xAxisY,  context.m_yAxisX,
                                  context.m_yAxisY, context.m_originX, context.m_originY};
    };
    auto sent = [&] {
        return std::vector<float>{g.xAxisX, g.xAxisY, g.yAxisX, g.yAxisY, g.originX, g.originY};
    };
    auto same = [](const std::vector<float>& a, const std::vector<float>& b) {
        return std::memcmp(a.data(), b.data(), 6 * sizeof(float)) == 0;
    };
    for (const auto& setContext : contexts) {
        for (const Draw& d : draws) {
            bb_graphics_SetMatrix(1, 0, 0, 1, 0, 0);
            setContext();
            const std::vector<float> before = current();

            bb_graphics_PushMatrix();
            bb_graphics_Transform(1, 0, 0, 1, d.x, d.y);
            bb_graphics_Rotate(d.rotation);
            bb_graphics_Transform(d.scaleX, 0, 0, d.scaleY, 0, 0);
            bb_graphics_Transform(1, 0, 0, 1, -image->m_handleX, -image->m_handleY);
            const std::vector<float> turned = current();
            bb_graphics_PopMatrix();
            bb_graphics_PushMatrix();
            bb_graphics_Transform(1, 0, 0, 1, d.x - image->m_handleX, d.y - image->m_handleY);
            const std::vector<float> placed = current();
            bb_graphics_PopMatrix();

            bb_graphics_DrawImage2(image.get(), d.x, d.y, d.rotation, d.scaleX, d.scaleY, 1);
            EXPECT_TRUE(same(sent(), turned)) << d.x << "," << d.y;
            EXPECT_TRUE(context.m_matrixDirty);
            EXPECT_TRUE(same(current(), before));
            if (context.m_transformed) {
                bb_graphics_DrawImage(image.get(), d.x, d.y, 0);
                EXPECT_TRUE(same(sent(), placed)) << d.x << "," << d.y;
                EXPECT_TRUE(same(current(), before));
            }
            g.Flush();
        }
    }
}

} // namespace
