// Image files whose header claims more pixels than any texture of the game
// needs: refused before decoding, since a few damaged bytes would otherwise
// have the decoder allocate and fill hundreds of megabytes. No GL needed.
#include "graphics/gxtk_graphics.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// An uncompressed 32-bit TGA header with no pixel data; the decoder fills the
// missing pixels with zeros. Its name says PNG: decoders go by content.
std::string TgaHeader(int width, int height) {
    std::string bytes(18, '\0');
    bytes[2] = 2;
    bytes[12] = static_cast<char>(width & 0xFF);
    bytes[13] = static_cast<char>(width >> 8);
    bytes[14] = static_cast<char>(height & 0xFF);
    bytes[15] = static_cast<char>(height >> 8);
    bytes[16] = 32;
    return bytes;
}

class DamagedImageTest : public testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/skitterbat-image-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Write(const std::string& name, const std::string& bytes) {
        std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    std::string dir_;
};

long PeakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST_F(DamagedImageTest, HugeClaimedSizesAreRefusedCheaply) {
    std::string path = Write("huge.png", TgaHeader(12000, 12000));
    EXPECT_EXIT(
        {
            long before = PeakResidentKilobytes();
            gxtkGraphics graphics;
            gxtkSurface surface;
            bool loaded = graphics.LoadSurface__UNSAFE__(&surface, String(path)) != nullptr;
            long grown = PeakResidentKilobytes() - before;
            std::fprintf(stderr, "loaded %d, peak grew %ld kB\n", loaded, grown);
            std::_Exit(!loaded && surface.pixels == nullptr && grown < 16 * 1024 ? 0 : 1);
        },
        testing::ExitedWithCode(0), "loaded 0");

    int width = -1, height = -1, depth = -1;
    for (auto [w, h] : {std::pair{4097, 4096}, std::pair{16385, 1}, std::pair{1, 20000}}) {
        std::string bytes = TgaHeader(w, h);
        EXPECT_EQ(loadImage(String(Write("wide.png", bytes)), &width, &height, &depth), nullptr)
            << w << "x" << h;
        EXPECT_EQ(loadImage(reinterpret_cast<const unsigned char*>(bytes.data()),
                            static_cast<int>(bytes.size()), &width, &height, &depth),
                  nullptr);
    }
    EXPECT_EQ(width, -1); // outputs untouched

    // A sensible size still decodes, whatever the format.
    unsigned char* pixels = loadImage(String(Write("small.png", TgaHeader(64, 32))), &width, &height, &depth);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(width, 64);
    EXPECT_EQ(height, 32);
    EXPECT_EQ(depth, 4);
    unloadImage(pixels);
}

} // namespace
