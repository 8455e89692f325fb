#include "runtime/runtime.h"

#include <gtest/gtest.h>

TEST(String, NumberConversions) {
    EXPECT_EQ(String(42), String("42"));
    EXPECT_EQ(String(-7), String("-7"));
    EXPECT_EQ(String(1.0f), String("1.0"));
    EXPECT_EQ(String(0.5f), String("0.5"));
    // Seventeen significant digits show the float's exact double value.
    EXPECT_EQ(String(0.1f), String("0.10000000149011612"));
    EXPECT_EQ(String(1e30f), String("1.0000000150474662e+30"));
    EXPECT_EQ(String("Pedes ") + 3 + "   " + 0 + " Lives", String("Pedes 3   0 Lives"));
}

TEST(String, FindSliceAndSplit) {
    String text("a|bb||c|");
    EXPECT_EQ(text.Find("|"), 1);
    EXPECT_EQ(text.Find("|", -5), 1);
    EXPECT_EQ(text.Find("|", 2), 4);
    EXPECT_EQ(text.Find("x"), -1);
    EXPECT_EQ(text.FindLast("|"), 7);
    EXPECT_TRUE(text.StartsWith("a|b"));
    EXPECT_FALSE(text.StartsWith("b"));

    EXPECT_EQ(String("hello").Slice(1, 3), String("el"));
    EXPECT_EQ(String("hello").Slice(-3), String("llo"));
    EXPECT_EQ(String("hello").Slice(2, -1), String("ll"));
    EXPECT_EQ(String("hello").Slice(4, 2), String(""));
    EXPECT_EQ(String("hello").Slice(-99, 99), String("hello"));

    std::vector<String> pieces = text.Split("|");
    ASSERT_EQ(pieces.size(), 5u);
    EXPECT_EQ(pieces[0], String("a"));
    EXPECT_EQ(pieces[2], String(""));
    EXPECT_EQ(pieces[4], String(""));
    EXPECT_EQ(String("").Split("|").size(), 1u);
    EXPECT_EQ(String("abc").Split("").size(), 3u);

    EXPECT_EQ(String("a-b-c").Replace("-", "+="), String("a+=b+=c"));
    EXPECT_EQ(String("WaV.Ogg").ToLower(), String("wav.ogg"));
}

TEST(String, EightBitConversionKeepsLowByte) {
    const char16_t units[] = {0x0141, u'A', 0x20AC};
    String text(units, 3);
    std::string bytes = text.ToCString();
    ASSERT_EQ(bytes.size(), 3u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0x41);
    EXPECT_EQ(bytes[1], 'A');
    EXPECT_EQ(static_cast<unsigned char>(bytes[2]), 0xAC);
    // Bytes above 0x7F become single code units of the same value.
    EXPECT_EQ(String("\xE9")[0], 0xE9);
}

TEST(Array, ZeroFilledFixedLength) {
    Array<int> ints(5);
    Array<float> floats(3);
    Array<bool> flags(4);
    EXPECT_EQ(ints.Length(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(ints[i], 0);
    for (float f : floats) EXPECT_EQ(f, 0.0f);
    for (bool b : flags) EXPECT_FALSE(b);
    ints[4] = 9;
    Array<int> copy = ints;
    copy[4] = 1;
    EXPECT_EQ(ints[4], 9);
    EXPECT_EQ(Array<int>(-3).Length(), 0);
}

TEST(RuntimeErrorDeathTest, ExitsWithMessageAndStatus255) {
    EXPECT_EXIT(Error("Image frame outside surface"), testing::ExitedWithCode(255), "");
    EXPECT_EXIT(Error(""), testing::ExitedWithCode(0), "");
}

TEST(String, TextsAcrossTheInlineCapacity) {
    // Grow one character at a time past the inline room and compare with plain bytes.
    std::string expected;
    String grown;
    for (int i = 0; i < 3 * String::kInlineUnits; ++i) {
        const char c[2] = {static_cast<char>('a' + i % 26), 0};
        grown += String(c);
        expected += c;
        ASSERT_EQ(grown.ToCString(), expected);
        ASSERT_EQ(grown.Data()[grown.Length()], 0);
    }
    // Copies and moves of long and short texts keep their own values.
    String copy = grown;
    String moved = std::move(copy);
    EXPECT_EQ(moved, grown);
    String shortText("short");
    moved = shortText;
    EXPECT_EQ(moved, String("short"));
    moved = grown;
    shortText = std::move(moved);
    EXPECT_EQ(shortText, grown);

    // Appending a text to itself, inline and on the heap.
    String twice("abc");
    twice += twice;
    EXPECT_EQ(twice, String("abcabc"));
    String longTwice = grown;
    longTwice += longTwice;
    EXPECT_EQ(longTwice.ToCString(), expected + expected);

    EXPECT_EQ(grown.Slice(-3), String(expected.substr(expected.size() - 3)));
    EXPECT_EQ((String("x") + grown).Length(), grown.Length() + 1);
    EXPECT_TRUE(String("abc") == "abc");
    EXPECT_FALSE(String("abc") == "ab");
    EXPECT_FALSE(String("ab") == "abc");
    EXPECT_TRUE(String("") == "");
    EXPECT_TRUE(String("ab") < String("abc"));
    EXPECT_EQ(grown.Replace("a", "AA").Length(), grown.Length() + 4);
    EXPECT_EQ(String("1e+30") + 7, String("1e+307"));
}
