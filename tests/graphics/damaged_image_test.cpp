// Image files whose header claims more pixels than any texture of the game
// needs: refused before decoding, since a few damaged bytes would otherwise
// have the decoder allocate and fill hundreds of megabytes. No GL needed.
#include "graphics/gxtk_graphics.h"
#include "graphics/png_chunks.h"

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

// A 5x3 grey PNG whose second chunk is an IDAT claiming `idatLength` bytes,
// followed by a few bytes of it and no IEND (CRCs are not checked).
std::string PngWithIdat(uint32_t idatLength, bool withEnd) {
    std::string bytes("\x89PNG\r\n\x1a\n", 8);
    auto chunk = [&](const char* type, const std::string& body, uint32_t length) {
        for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>((length >> shift) & 0xFF);
        bytes += std::string(type, 4) + body + std::string(4, '\0');
    };
    chunk("IHDR", std::string("\0\0\0\5\0\0\0\3\x08\0\0\0\0", 13), 13);
    // zlib stream of three filtered grey rows of five zero pixels
    const std::string rows = std::string("\x78\x01\x01\x12\x00\xed\xff", 7) + std::string(18, '\0') +
                             std::string("\x00\x12\x00\x01", 4);
    if (withEnd) {
        chunk("IDAT", rows, static_cast<uint32_t>(rows.size()));
        chunk("IEND", "", 0);
        bytes.resize(bytes.size() - 4); // the decoder never reads IEND's CRC
    } else {
        chunk("IDAT", rows, idatLength);
    }
    return bytes;
}

long PeakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST_F(DamagedImageTest, HugeClaimedSizesAreRefusedCheaply) {
    std::string path = Write("huge.png", TgaHeader(12000, 12000));
    EXPECT_EXIT(
        {
            // Under ASan the 2 GB block's shadow alone would add 256 MB.
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

TEST_F(DamagedImageTest, PngChunkLongerThanTheFileIsRefusedBeforeAllocating) {
    // Found by fuzzing: a damaged IDAT length had the decoder reserve 2 GB.
    std::string damaged = PngWithIdat(0x7FFFFF00u, false);
    std::string good = PngWithIdat(0, true);
    EXPECT_FALSE(PngChunksFit(reinterpret_cast<const unsigned char*>(damaged.data()), damaged.size()));
    EXPECT_TRUE(PngChunksFit(reinterpret_cast<const unsigned char*>(good.data()), good.size()));
    std::string tga = TgaHeader(4, 4);
    EXPECT_TRUE(PngChunksFit(reinterpret_cast<const unsigned char*>(tga.data()), tga.size()));

    int width = -1, height = -1, depth = -1;
    // Under ASan the 2 GB block's shadow alone would add 256 MB.
    long before = PeakResidentKilobytes();
    EXPECT_EQ(loadImage(String(Write("damaged.png", damaged)), &width, &height, &depth), nullptr);
    EXPECT_EQ(loadImage(reinterpret_cast<const unsigned char*>(damaged.data()),
                        static_cast<int>(damaged.size()), &width, &height, &depth),
              nullptr);
    EXPECT_EQ(width, -1);
    EXPECT_LT(PeakResidentKilobytes() - before, 16 * 1024);

    unsigned char* pixels = loadImage(String(Write("good.png", good)), &width, &height, &depth);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(width, 5);
    EXPECT_EQ(height, 3);
    EXPECT_EQ(depth, 1);
    unloadImage(pixels);
}

TEST_F(DamagedImageTest, JpegIsRefusedUnread) {
    // Found by fuzzing: damaged Huffman data sent the JPEG decoder reading wild memory.
    const std::string hex =
        "ffd8ffe000104a464946000101000001000100002828282828282a282828282828282828282828282828282828282a28"
        "282828282828282828282828ffc00011080300000503012200021101031101ffc401a200000105010101010101000000"
        "00000000000104030405060708090a0b100002010303020403050504040000017d010203000411051221314106135161"
        "07227114328191a1082342b1c11552d1f02433627224090a161718191a25262728da2a3435363738393a434445464748"
        "494a535455635658645a595765666768696a737475767778797a838485868788898e92939495969798999aa2a3a4a5a6"
        "a7a8a9aab2b3b4b5b6b7b8b9bac2c3c4c5c6c7c8c9cad2d3d4d5d6d7d8d9dae1e2e3e4e5e6e7e8e9eaf1f2f3f4f5f6f7"
        "f8f9fa0100030101010101010101010000000000004749463839610708090a0b11000201020404030407050404000102"
        "77000102031104052131061241510761711322328108144291a1b1c109233352f0156272d10a162434e125f11718191a"
        "262728292a35383637393a434445464748494a535455565758595a636465666768696a737475767778797a8283848586"
        "8788898a9293949596979899282828282828282828282828282828282828282828282828282c2828d8d7d7d7d7003f23"
        "dae2e3e4e5e6e7e8e9eaf2f3f4f5f6f7f8f9faffda000c03013102110311003f00ddd0ffc1f40d3853bdd420bab76158"
        "6578762c90248ca3611f2ef772ffdaee21400715b1ff00084685ff003c2eff00f03ee3ff008ba67843fe42bae7fdb9ff"
        "00e92455d457e6bc5399e36866b569d2ad06060606060606060606060606060606060606060606060606060606060606"
        "06060606060606060628c572e8a4d2f857e84442cc2e09b47fffd9";
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    int width = -1, height = -1, depth = -1;
    EXPECT_EQ(loadImage(String(Write("damaged.jpg", bytes)), &width, &height, &depth), nullptr);
    EXPECT_EQ(loadImage(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()),
                        &width, &height, &depth),
              nullptr);
    EXPECT_EQ(width, -1);
}

} // namespace
