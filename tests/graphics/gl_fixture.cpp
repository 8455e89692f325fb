// The GL test fixture: one window per test process, a fresh temporary folder per test.
#include "gl_fixture.h"

#include <GL/gl.h>
#include <GLFW/glfw3.h>
#include <stb_image_write.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>

GLFWwindow* GLTest::window = nullptr;
HeadlessPlatform GLTest::platform;

std::ostream& operator<<(std::ostream& out, const Rgba& c) {
    return out << "(" << c.r << "," << c.g << "," << c.b << "," << c.a << ")";
}

namespace {

// One window for the whole test process, closed when the tests are done.
class WindowEnvironment : public ::testing::Environment {
  public:
    void TearDown() override {
        if (!GLTest::window) return;
        glfwDestroyWindow(GLTest::window);
        GLTest::window = nullptr;
        glfwTerminate();
        gxtk_platform = nullptr;
    }
};

[[maybe_unused]] ::testing::Environment* const windowEnvironment =
    ::testing::AddGlobalTestEnvironment(new WindowEnvironment);

void ReportGlfwError(int code, const char* text) {
    std::fprintf(stderr, "GLFW error %d: %s\n", code, text);
}

} // namespace

void GLTest::SetUpTestSuite() {
    if (window) return;
    glfwSetErrorCallback(ReportGlfwError);
    ASSERT_TRUE(glfwInit()) << "no X display: run under xvfb-run";
    glfwWindowHint(GLFW_VISIBLE, GLFW_TRUE);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    window = glfwCreateWindow(640, 480, "graphics tests", nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    glfwMakeContextCurrent(window);
    glfwGetFramebufferSize(window, &platform.width, &platform.height);
    gxtk_platform = &platform;
}

void GLTest::SetUp() {
    ASSERT_NE(window, nullptr);
    std::string pattern = (std::filesystem::temp_directory_path() / "graphics_test_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    tempDir = pattern;
}

void GLTest::TearDown() {
    std::error_code ignored;
    std::filesystem::remove_all(tempDir, ignored);
}

std::string GLTest::WritePng(const std::string& name, int width, int height, int depth,
                             const std::vector<unsigned char>& pixels) {
    std::string path = TempPath(name);
    EXPECT_NE(stbi_write_png(path.c_str(), width, height, depth, pixels.data(), width * depth), 0);
    return path;
}

Rgba PixelAt(gxtkGraphics& g, int x, int y) {
    Array<int> pixels(1);
    g.ReadPixels(pixels, x, y, 1, 1, 0, 1);
    uint32_t argb = static_cast<uint32_t>(pixels[0]);
    return Rgba{static_cast<int>((argb >> 16) & 0xff), static_cast<int>((argb >> 8) & 0xff),
                static_cast<int>(argb & 0xff), static_cast<int>(argb >> 24)};
}

// Desktop GL only: WebGL has neither glGetTexImage nor glGetTexLevelParameteriv,
// so the browser's tests judge textures by the pictures the page shows.
std::vector<unsigned char> TextureBytes(unsigned int texture, unsigned int format, int bytesPerPixel) {
    GLint width = 0, height = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    gxtkGraphics::ForgetGLState();
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<unsigned char> bytes(static_cast<size_t>(width * height * bytesPerPixel));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, bytes.data());
    return bytes;
}
