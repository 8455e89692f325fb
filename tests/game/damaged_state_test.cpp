// Damaged state files, loaded by the real game's m_Load from a real
// ".cobaltstate": truncated at every field, cut inside fields, extra fields,
// letters, huge numbers, minus signs, empty fields, UTF-16 with and without
// marks, invalid UTF-8 and ten megabytes of digits. Each gives exactly the
// messages of the sections it could read, resets only the damaged ones, keeps
// the rest, and never breaks the floors of the settings.
#include "harness.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kSettings = 25, kFields = 98;

struct Values {
    std::vector<int> settings = std::vector<int>(25);
    std::vector<uint32_t> words = std::vector<uint32_t>(8);
    std::vector<int> scores = std::vector<int>(60);
};

// No section's checksum can match by chance once shifted or cut.
Values Saved() {
    Values v;
    for (int i = 0; i < 25; ++i) v.settings[i] = 100 + 37 * i;
    v.words = {33, 0x80000001u, 77, 10, 1u << 20, 55, 0xFFFFFFFFu, 99};
    for (int i = 0; i < 60; ++i) v.scores[i] = 50000 - 611 * i;
    return v;
}

std::vector<std::string> Fields(const Values& v) {
    std::vector<std::string> f;
    uint32_t sum = 0;
    for (int i = 0; i < 25; ++i) {
        f.push_back(std::to_string(v.settings[i]));
        sum += static_cast<uint32_t>(i) * static_cast<uint32_t>(v.settings[i]);
    }
    f.push_back(std::to_string(static_cast<int32_t>(sum)));
    sum = 0;
    for (uint32_t w : v.words) {
        f.push_back(std::to_string(static_cast<int32_t>(w)));
        sum += w;
    }
    f.push_back(std::to_string(static_cast<int32_t>(sum)));
    for (int d = 0; d < 3; ++d) {
        sum = 0;
        for (int k = 0; k < 10; ++k) {
            int best = v.scores[10 * d + k], recent = v.scores[30 + 10 * d + k];
            f.push_back(std::to_string(best));
            f.push_back(std::to_string(recent));
            sum += static_cast<uint32_t>(k + 4) * static_cast<uint32_t>(best) +
                   static_cast<uint32_t>(d + k + 3) * static_cast<uint32_t>(recent);
        }
        f.push_back(std::to_string(static_cast<int32_t>(sum)));
    }
    return f;
}

std::string Join(const std::vector<std::string>& fields, size_t count) {
    std::string text;
    for (size_t i = 0; i < count && i < fields.size(); ++i) text += fields[i] + "|";
    return text;
}

// What a section came to: read whole, reset, or left as it was.
enum class Outcome { Loaded, Reset, Kept };

struct Expected {
    Outcome settings = Outcome::Kept, badges = Outcome::Kept,
            scores[3] = {Outcome::Kept, Outcome::Kept, Outcome::Kept};
    bool invalidUtf8 = false;

    std::string Messages() const {
        std::string out = invalidUtf8 ? "Invalid UTF-8!\n" : "";
        if (settings != Outcome::Kept)
            out += settings == Outcome::Loaded ? "Settings Loaded\n" : "Settings Checksum Invalid\n";
        if (badges != Outcome::Kept)
            out += badges == Outcome::Loaded ? "Badges Loaded\n" : "Badge Checksum Invalid\n";
        for (int d = 0; d < 3; ++d)
            if (scores[d] != Outcome::Kept)
                out += "Highscore " + std::to_string(d) +
                       (scores[d] == Outcome::Loaded ? " Loaded\n" : " Checksum Invalid\n");
        return out;
    }
};

Expected AllLoaded() {
    Expected e;
    e.settings = e.badges = Outcome::Loaded;
    for (Outcome& o : e.scores) o = Outcome::Loaded;
    return e;
}

class DamagedStateTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { harness_ = new GameHarness(); }
    static void TearDownTestSuite() {
        delete harness_;
        harness_ = nullptr;
    }

    // Loads the bytes as the state file over a game whose sections hold marker
    // values, and checks messages and sections against the expectation.
    void Check(const std::string& label, const std::string& bytes, const Expected& want,
               const Values& loaded = Saved()) {
        SCOPED_TRACE(label);
        bb_Skitterbat_MyApp& game = harness_->game;
        std::ofstream(harness_->Dir() + "/.cobaltstate", std::ios::binary | std::ios::trunc) << bytes;
        for (int i = 0; i < 25; ++i) game.Settings[i] = 70 + i;
        for (int i = 0; i < 256; ++i) game.Badges[i] = i % 3 == 0;
        for (int i = 0; i < 60; ++i) game.Highscores[i] = 7;

        testing::internal::CaptureStdout();
        game.m_Load();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), want.Messages());

        for (int i = 0; i < 25; ++i) {
            int expected = want.settings == Outcome::Loaded  ? loaded.settings[i]
                           : want.settings == Outcome::Reset ? (i == 5 ? 1 : 0)
                                                             : 70 + i;
            if (i == 2 && expected <= 0) expected = 4;
            if ((i == 10 || i == 11) && expected <= 63) expected = 64;
            if (i == 12 && expected <= 7) expected = 10;
            EXPECT_EQ(game.Settings[i], expected) << "setting " << i;
        }
        EXPECT_EQ(game.TiltSensitivity, static_cast<float>(game.Settings[2]));
        for (int i = 0; i < 256; ++i) {
            bool expected = want.badges == Outcome::Loaded  ? ((loaded.words[i / 32] >> (i % 32)) & 1) != 0
                            : want.badges == Outcome::Reset ? false
                                                            : i % 3 == 0;
            ASSERT_EQ(game.Badges[i], expected) << "badge " << i;
        }
        for (int d = 0; d < 3; ++d)
            for (int k : {10 * d, 10 * d + 9, 30 + 10 * d, 30 + 10 * d + 9}) {
                int expected = want.scores[d] == Outcome::Loaded  ? loaded.scores[k]
                               : want.scores[d] == Outcome::Reset ? 0
                                                                  : 7;
                EXPECT_EQ(game.Highscores[k], expected) << "score " << k;
            }
        ++tried_;
    }

    static GameHarness* harness_;
    static int tried_;
};

GameHarness* DamagedStateTest::harness_ = nullptr;
int DamagedStateTest::tried_ = 0;

// The sections the text's first n fields (each ending in "|") let m_Load read.
Expected AfterFields(int n) {
    Expected e;
    const int pieces = n + 1; // the text ends in "|": one empty piece follows
    int cursor = 0;
    if (pieces >= kSettings) {
        e.settings = n > kSettings ? Outcome::Loaded : Outcome::Reset;
        cursor = kSettings + 1;
    }
    if (cursor + 8 < pieces) {
        // Read from field 0 when the settings were not there: never a match.
        e.badges = cursor == kSettings + 1 && n > cursor + 8 ? Outcome::Loaded : Outcome::Reset;
        cursor += 9;
    }
    for (int d = 0; d < 3; ++d) {
        if (cursor + 20 >= pieces) continue;
        e.scores[d] = cursor == 35 + 21 * d && n > cursor + 20 ? Outcome::Loaded : Outcome::Reset;
        cursor += 21;
    }
    return e;
}

TEST_F(DamagedStateTest, TruncatedAtEveryField) {
    const std::vector<std::string> fields = Fields(Saved());
    ASSERT_EQ(fields.size(), static_cast<size_t>(kFields));
    Check("whole", Join(fields, kFields), AllLoaded());
    for (int n = 0; n < kFields; ++n)
        Check("first " + std::to_string(n) + " fields", Join(fields, n), AfterFields(n));
    // Without the final "|", the last field still reads whole.
    std::string whole = Join(fields, kFields);
    Check("no final bar", whole.substr(0, whole.size() - 1), AllLoaded());
}

TEST_F(DamagedStateTest, CutInsideEveryField) {
    // A file cut inside field n reads like one cut before it: the partial
    // field is a checksum that cannot match, or lies in a section whose
    // checksum is missing.
    const std::vector<std::string> fields = Fields(Saved());
    for (int n = 0; n < kFields; ++n) {
        const std::string& field = fields[static_cast<size_t>(n)];
        ASSERT_GE(field.size(), 2u);
        Check("cut inside field " + std::to_string(n), Join(fields, n) + field.substr(0, field.size() - 1),
              AfterFields(n));
    }
}

TEST_F(DamagedStateTest, ExtraFieldsLettersSignsAndEmptyFields) {
    const Values saved = Saved();
    const std::vector<std::string> fields = Fields(saved);
    auto with = [&](int index, const std::string& field) {
        std::vector<std::string> changed = fields;
        changed[static_cast<size_t>(index)] = field;
        return Join(changed, kFields);
    };
    Check("extra fields", Join(fields, kFields) + "1|2|-3|x|||", AllLoaded());
    Check("extra text without bars", Join(fields, kFields) + "junk", AllLoaded());

    Expected settingsReset = AllLoaded();
    settingsReset.settings = Outcome::Reset;
    Expected badgesReset = AllLoaded();
    badgesReset.badges = Outcome::Reset;
    Expected scores1Reset = AllLoaded();
    scores1Reset.scores[1] = Outcome::Reset;

    Check("letters for a setting", with(3, "abc"), settingsReset);
    Check("letters for a checksum", with(25, "x"), settingsReset);
    Check("letters for a badge word", with(30, "zz"), badgesReset);
    Check("letters for a score", with(60, "NaN"), scores1Reset);
    Check("empty setting", with(7, ""), settingsReset);
    Check("empty score checksum", with(76, ""), scores1Reset);
    Check("minus sign alone", with(4, "-"), settingsReset);
    Check("two minus signs", with(57, "--" + fields[57]), scores1Reset);
    Check("minus sign after the digits", with(59, fields[59] + "-"), AllLoaded()); // reads the digits
    Check("digits then letters", with(1, fields[1] + "abc"), AllLoaded());
    Check("leading blanks and plus", with(2, "  +" + fields[2]), AllLoaded());
    Check("huge number", with(6, "99999999999999999999999"), settingsReset);
    Check("huge negative number", with(28, "-99999999999999999999999"), badgesReset);
    // Every piece reads 0 and sums of zeros are zero.
    Check("all bars", std::string(200, '|'), AllLoaded(), Values{});

    // Negative values with matching checksums load as written.
    Values negative = saved;
    negative.settings[2] = -5;
    negative.settings[10] = INT_MIN;
    negative.scores[0] = -1;
    negative.scores[59] = INT_MAX;
    Check("negative values", Join(Fields(negative), kFields), AllLoaded(), negative);
}

std::string Utf16(const std::string& text, bool bigEndian, bool mark) {
    std::string out;
    if (mark) out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : text) {
        out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    }
    return out;
}

TEST_F(DamagedStateTest, EncodingsAndInvalidUtf8) {
    const std::string text = Join(Fields(Saved()), kFields);
    Check("UTF-16 little-endian with mark", Utf16(text, false, true), AllLoaded());
    Check("UTF-16 big-endian with mark", Utf16(text, true, true), AllLoaded());
    Check("UTF-16 with mark and an odd byte", Utf16(text, false, true) + "7", AllLoaded());
    Check("UTF-8 with mark", "\xEF\xBB\xBF" + text, AllLoaded());
    // Without a mark the zero bytes stop every field but the first at once:
    // everything reads 0, and zeros have zero checksums.
    Values zeros;
    zeros.settings[0] = text[0] - '0';
    Check("UTF-16 little-endian without mark", Utf16(text, false, false), AllLoaded(), zeros);
    Check("UTF-16 big-endian without mark", Utf16(text, true, false), AllLoaded(), Values{});

    Expected invalid = AllLoaded();
    invalid.invalidUtf8 = true;
    Check("stray continuation byte after the text", text + "\x80", invalid);
    Check("four-byte sequence after the text", text + "\xF0\x9F\x98\x80", invalid);
    Check("sequence cut short at the end", text + "\xE2\x82", invalid);
    invalid.scores[2] = Outcome::Reset;
    std::string damaged = text;
    damaged.insert(damaged.size() - 5, "\xC3");
    Check("lone lead byte in a checksum", damaged, invalid);
    Check("valid multibyte letters", text + "\xC3\xA9\xE2\x82\xAC", AllLoaded());
}

TEST_F(DamagedStateTest, TenMegabytesOfDigits) {
    // One field: no section can be read, so all keep their values.
    Check("ten megabytes of digits", std::string(10 << 20, '7'), Expected{});
    std::string bars;
    bars.reserve(10 << 20);
    while (bars.size() < (10u << 20)) bars += "9|";
    Expected e;
    e.settings = e.badges = Outcome::Reset;
    for (Outcome& o : e.scores) o = Outcome::Reset;
    Check("ten megabytes of fields", bars, e);
    std::printf("damaged state texts tried: %d\n", tried_);
}

} // namespace
