#include "runtime/datapath.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

namespace {

String Units(std::initializer_list<char16_t> units) {
    return String(std::u16string(units));
}

String Decode(const std::string& bytes) {
    return DecodeStateText(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

// Decodes while capturing what was printed.
String Decode(const std::string& bytes, std::string* printed) {
    testing::internal::CaptureStdout();
    String text = Decode(bytes);
    *printed = testing::internal::GetCapturedStdout();
    return text;
}

std::string ReadFirstLine(FILE* file) {
    EXPECT_NE(file, nullptr);
    if (!file) return "";
    std::string text = ReadWholeFile(file);
    std::fclose(file);
    return text;
}

using DataPath = TempDirTest;

} // namespace

TEST(DataPathFix, PlainNamesGetTheDataSchemeOthersPassThrough) {
    EXPECT_EQ(bb_data_FixDataPath("graphics/a.png"), String("cobalt://data/graphics/a.png"));
    EXPECT_EQ(bb_data_FixDataPath("./x.png"), String("./x.png"));
    EXPECT_EQ(bb_data_FixDataPath("/tmp/x.png"), String("/tmp/x.png"));
    EXPECT_EQ(bb_data_FixDataPath("cobalt://internal/x"), String("cobalt://internal/x"));
    EXPECT_EQ(bb_data_FixDataPath("xyz:/abc"), String("xyz:/abc"));
    // A colon without a slash after it, or a slash before the ":/", is a plain name.
    EXPECT_EQ(bb_data_FixDataPath("a:b/c"), String("cobalt://data/a:b/c"));
    EXPECT_EQ(bb_data_FixDataPath("a/b:/c"), String("cobalt://data/a/b:/c"));
}

TEST_F(DataPath, SchemesMapOntoFoldersOfTheWorkingDirectory) {
    WriteBytes("data/graphics/a.png", "data-a");
    WriteBytes("internal/x", "internal-x");
    WriteBytes("external/y", "external-y");
    WriteBytes("x.png", "local-x");
    WriteBytes("a:b/c", "odd-name");

    EXPECT_EQ(ReadFirstLine(fopenFile(bb_data_FixDataPath("graphics/a.png"), "rb")), "data-a");
    EXPECT_EQ(ReadFirstLine(fopenFile(bb_data_FixDataPath("cobalt://internal/x"), "rb")), "internal-x");
    EXPECT_EQ(ReadFirstLine(fopenFile("cobalt://external/y", "rb")), "external-y");
    EXPECT_EQ(ReadFirstLine(fopenFile(bb_data_FixDataPath("./x.png"), "rb")), "local-x");
    std::string absolute = (dir_ / "x.png").string();
    EXPECT_EQ(ReadFirstLine(fopenFile(bb_data_FixDataPath(String(absolute)), "rb")), "local-x");

    // a:b/c is a data name, so the file of that name in the working directory is not it.
    EXPECT_EQ(fopenFile(bb_data_FixDataPath("a:b/c"), "rb"), nullptr);
    WriteBytes("data/a:b/c", "data-odd");
    EXPECT_EQ(ReadFirstLine(fopenFile(bb_data_FixDataPath("a:b/c"), "rb")), "data-odd");

    // Unknown schemes and wrong case open nothing, even when a matching folder exists.
    WriteBytes("other/z", "z");
    WriteBytes("Data/graphics/a.png", "upper");
    EXPECT_EQ(fopenFile("cobalt://other/z", "rb"), nullptr);
    EXPECT_EQ(fopenFile("cobalt://Data/graphics/a.png", "rb"), nullptr);
    EXPECT_EQ(fopenFile("cobalt://data/missing.png", "rb"), nullptr);
}

TEST_F(DataPath, NamesOpenByTheirBytesAndUnnameableOnesOpenNothing) {
    WriteBytes("data/caf\xE9.png", "latin");
    EXPECT_EQ(ReadFirstLine(fopenFile(String("cobalt://data/caf\xE9.png"), "rb")), "latin");
    // U+01E9 has no byte of its own; its low byte must not open the file above.
    String wide = String("cobalt://data/caf") + Units({0x01E9}) + String(".png");
    EXPECT_EQ(fopenFile(wide, "rb"), nullptr);
    EXPECT_EQ(fopenFile(String("cobalt://data/caf") + Units({0}) + String("x"), "rb"), nullptr);
}

TEST(StateText, EncodesEachCodeUnitAsUtf8AndDecodesItBack) {
    EXPECT_EQ(EncodeStateText(Units({0x00E9})), "\xC3\xA9");
    EXPECT_EQ(EncodeStateText(Units({0x20AC})), "\xE2\x82\xAC");
    EXPECT_EQ(EncodeStateText(String("1|2|3")), "1|2|3");
    EXPECT_EQ(EncodeStateText(String()), "");
    // Surrogate halves are encoded one by one, not combined.
    EXPECT_EQ(EncodeStateText(Units({0xD83D, 0xDE00})), "\xED\xA0\xBD\xED\xB8\x80");

    String mixed = Units({u'a', 0x7F, 0x80, 0x7FF, 0x800, 0xFFFF, 0xD800});
    EXPECT_EQ(Decode(EncodeStateText(mixed)), mixed);
    EXPECT_EQ(Decode("\xC3\xA9"), Units({0x00E9}));
    EXPECT_EQ(Decode("\xE2\x82\xAC"), Units({0x20AC}));
    EXPECT_EQ(Decode(""), String());
}

TEST(StateText, ByteOrderMarks) {
    EXPECT_EQ(Decode("\xEF\xBB\xBFok\xC3\xA9"), Units({u'o', u'k', 0xE9}));
    EXPECT_EQ(Decode("\xEF\xBB\xBF"), String());
    EXPECT_EQ(Decode(std::string("\xFF\xFE"
                                 "A\0\xAC\x20",
                                 6)),
              Units({u'A', 0x20AC}));
    EXPECT_EQ(Decode(std::string("\xFE\xFF\0A\x20\xAC", 6)), Units({u'A', 0x20AC}));
    // A trailing odd byte is dropped; a mark alone is the empty text.
    EXPECT_EQ(Decode(std::string("\xFF\xFE"
                                 "A\0B",
                                 5)),
              String("A"));
    EXPECT_EQ(Decode(std::string("\xFE\xFF\0AB", 5)), String("A"));
    EXPECT_EQ(Decode("\xFF\xFE"), String());
    EXPECT_EQ(Decode("\xFE\xFF"), String());
    EXPECT_EQ(Decode("\xFE\xFF"
                     "\x01"),
              String());
}

TEST(StateText, InvalidUtf8IsReportedAndKeptBytewise) {
    std::string printed;
    EXPECT_EQ(Decode("\xC3", &printed), Units({0xC3}));
    EXPECT_EQ(printed, "Invalid UTF-8!\n");
    EXPECT_EQ(Decode("a\x80"
                     "b",
                     &printed),
              Units({u'a', 0x80, u'b'}));
    EXPECT_EQ(printed, "Invalid UTF-8!\n");
    EXPECT_EQ(Decode("\xF0\x9F\x98\x80", &printed), Units({0xF0, 0x9F, 0x98, 0x80}));
    EXPECT_EQ(printed, "Invalid UTF-8!\n");
    EXPECT_EQ(Decode("\xE2\x82", &printed), Units({0xE2, 0x82}));
    EXPECT_EQ(printed, "Invalid UTF-8!\n");
    EXPECT_EQ(Decode("\xC3"
                     "A",
                     &printed),
              Units({0xC3, u'A'}));
    EXPECT_EQ(printed, "Invalid UTF-8!\n");
    // Bytes after a UTF-8 mark come back without the mark.
    EXPECT_EQ(Decode("\xEF\xBB\xBF\xC3", &printed), Units({0xC3}));
    EXPECT_EQ(printed, "Invalid UTF-8!\n");
    // Valid text prints nothing.
    EXPECT_EQ(Decode("\xC3\xA9", &printed), Units({0xE9}));
    EXPECT_EQ(printed, "");
}

TEST_F(DataPath, DataBufferLoadsWholeFilesAndStoresLittleEndian) {
    std::string big(10000, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    WriteBytes("data/blob.bin", big);

    BBDataBuffer buffer;
    EXPECT_FALSE(buffer._Load("cobalt://data/missing.bin"));
    ASSERT_TRUE(buffer._Load("cobalt://data/blob.bin"));
    ASSERT_EQ(buffer.Length(), 10000);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer.ReadPointer(0)), 10000), big);
    EXPECT_FALSE(buffer._Load("cobalt://data/blob.bin")); // already holds data
    EXPECT_FALSE(buffer._New(4));
    buffer.Discard();
    EXPECT_EQ(buffer.Length(), 0);
    EXPECT_EQ(buffer.bytes, nullptr);

    ASSERT_TRUE(buffer._New(16));
    buffer.PokeInt(0, 0x12345678);
    EXPECT_EQ(buffer.PeekByte(0), 0x78);
    EXPECT_EQ(buffer.PeekByte(3), 0x12);
    buffer.PokeShort(4, 0xFF80);
    EXPECT_EQ(buffer.PeekShort(4), -128);
    EXPECT_EQ(buffer.PeekByte(4), -128);
    buffer.PokeByte(6, 200);
    EXPECT_EQ(buffer.PeekByte(6), -56);
    buffer.PokeInt(8, -2);
    EXPECT_EQ(buffer.PeekInt(8), -2);
    buffer.PokeFloat(12, 1.5f);
    EXPECT_EQ(buffer.PeekFloat(12), 1.5f);
    EXPECT_EQ(buffer.PeekInt(12), 0x3FC00000);
}
