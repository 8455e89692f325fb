// The state file: its exact text, the checksums, each section kept or reset on
// its own, the floors after loading, and damaged or hostile texts.
#include "meta_fixture.h"

#include <climits>
#include <cstdio>
#include <random>

namespace {

void ClearState(bb_Skitterbat_MyApp& g) {
    for (int i = 0; i < 25; ++i) g.Settings[i] = 0;
    for (int i = 0; i < 256; ++i) g.Badges[i] = false;
    for (int i = 0; i < 60; ++i) g.Highscores[i] = 0;
}

std::string Repeat(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

// A text of 25 settings fields (with Settings[5] = 1 and the given extra
// fields), then `checksum`, then the rest as given.
std::string SettingsText(const std::vector<std::string>& values, const std::string& checksum) {
    std::string text;
    for (const std::string& v : values) text += v + "|";
    return text + checksum + "|";
}

const char* const kAllLoaded = "Settings Loaded\nBadges Loaded\nHighscore 0 Loaded\nHighscore 1 Loaded\n"
                               "Highscore 2 Loaded\n";

} // namespace

TEST(SavedState, SaveWritesTheDefaultTextFieldByField) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    ClearState(g);
    g.Settings[5] = 1;
    g.m_Save();

    const std::string expected =
        "0|0|0|0|0|1|" + Repeat("0|", 19) + "5|" + Repeat("0|", 9) + Repeat("0|", 63);
    const std::string text = ReadStateText(h);
    EXPECT_EQ(text, expected);
    EXPECT_EQ(StateFields(text).size(), 98u);
}

// A setting that takes a new value and a badge that is earned are on disk by
// the end of the update, one write each however long a finger rests on a box
// that already holds its value.
TEST(SavedState, ChangesReachTheFileWithinTheirUpdate) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    h.Update(140); // the menu has slid in
    const int saves = h.platform.stateSaves;
    h.Tap(320, 32); // the sound switch
    EXPECT_EQ(StateFields(ReadStateText(h)).at(5), "0");
    EXPECT_EQ(h.platform.stateSaves, saves + 1);

    h.StartGame(1);
    h.Update(300);
    h.PressKey(27, 20); // the pause panel, with its tilt boxes
    h.MouseToGame(4 * 32 + 15, bb_Skitterbat_jscrh - 64 + 15);
    h.MouseButton(true);
    h.Update(30);
    h.MouseButton(false);
    EXPECT_EQ(StateFields(ReadStateText(h)).at(2), "3");
    EXPECT_EQ(h.platform.stateSaves, saves + 2);

    g.m_GiveBadge(33);
    g.m_GiveBadge(34);
    g.m_GiveBadge(33); // already earned
    h.Update();
    EXPECT_EQ(StateFields(ReadStateText(h)).at(26 + 1), "6");
    EXPECT_EQ(h.platform.stateSaves, saves + 3);
    h.Update(10);
    EXPECT_EQ(h.platform.stateSaves, saves + 3);
}

TEST(SavedState, BadgeWordsAndChecksumsWrapAsSigned32Bit) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;

    ClearState(g);
    g.Badges[31] = true;
    g.m_Save();
    std::vector<std::string> f = StateFields(ReadStateText(h));
    EXPECT_EQ(f[26], "-2147483648");
    EXPECT_EQ(f[34], "-2147483648");

    ClearState(g);
    g.Badges[0] = true;
    g.Badges[32] = true;
    g.Badges[255] = true;
    g.m_Save();
    f = StateFields(ReadStateText(h));
    EXPECT_EQ(f[26], "1");
    EXPECT_EQ(f[27], "1");
    EXPECT_EQ(f[33], "-2147483648");
    EXPECT_EQ(f[34], "-2147483646"); // 1 + 1 + INT_MIN

    // 24 * INT_MAX wraps to -24; scores: (3 + 4) * 100 + (1 + 2 + 3) * 5 for difficulty 1.
    ClearState(g);
    g.Settings[24] = INT_MAX;
    g.Settings[5] = 1;
    g.Highscores[13] = 100;
    g.Highscores[42] = 5;
    g.Highscores[20] = INT_MIN; // 4 * INT_MIN wraps to 0
    g.m_Save();
    f = StateFields(ReadStateText(h));
    EXPECT_EQ(f[24], "2147483647");
    EXPECT_EQ(f[25], "-19");
    EXPECT_EQ(f[56 + 6], "100");
    EXPECT_EQ(f[56 + 5], "5");
    EXPECT_EQ(f[76], "730");
    EXPECT_EQ(f[77], "-2147483648");
    EXPECT_EQ(f[97], "0");
}

TEST(SavedState, RandomStateSurvivesSaveAndLoad) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    std::mt19937 rng(77);
    std::uniform_int_distribution<int> any(INT_MIN, INT_MAX);
    for (int round = 0; round < 5; ++round) {
        for (int i = 0; i < 25; ++i) g.Settings[i] = any(rng);
        // Values the floors would change are not what this checks.
        g.Settings[2] = 1 + (any(rng) & 7);
        g.Settings[10] = 64 + (any(rng) & 0xFFFF);
        g.Settings[11] = 64 + (any(rng) & 0xFFFF);
        g.Settings[12] = 8 + (any(rng) & 0xFF);
        for (int i = 0; i < 256; ++i) g.Badges[i] = (any(rng) & 1) != 0;
        for (int i = 0; i < 60; ++i) g.Highscores[i] = any(rng);
        const Array<int> settings = g.Settings;
        const Array<bool> badges = g.Badges;
        const Array<int> scores = g.Highscores;
        g.m_Save();

        ClearState(g);
        EXPECT_EQ(LoadAndCapture(g), kAllLoaded);
        for (int i = 0; i < 25; ++i) EXPECT_EQ(g.Settings[i], settings[i]) << i;
        for (int i = 0; i < 256; ++i) EXPECT_EQ(g.Badges[i], badges[i]) << i;
        for (int i = 0; i < 60; ++i) EXPECT_EQ(g.Highscores[i], scores[i]) << i;
        EXPECT_EQ(g.TiltSensitivity, static_cast<float>(settings[2]));
    }
}

TEST(SavedState, OneDamagedSectionIsResetAloneAndHealsOnTheNextSave) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    ClearState(g);
    g.Settings[5] = 1;
    g.Settings[3] = 9;
    g.Badges[4] = true;
    for (int i = 0; i < 60; ++i) g.Highscores[i] = 1000 + i;
    g.m_Save();

    // One number of difficulty 1's pairs changed.
    std::vector<std::string> f = StateFields(ReadStateText(h));
    f[60] = "12345";
    std::string damaged;
    for (const std::string& field : f) damaged += field + "|";
    WriteStateText(h, damaged);

    ClearState(g);
    EXPECT_EQ(LoadAndCapture(g), "Settings Loaded\nBadges Loaded\nHighscore 0 Loaded\n"
                                 "Highscore 1 Checksum Invalid\nHighscore 2 Loaded\n");
    EXPECT_EQ(g.Settings[3], 9);
    EXPECT_TRUE(g.Badges[4]);
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(g.Highscores[k], 1000 + k);
        EXPECT_EQ(g.Highscores[10 + k], 0);
        EXPECT_EQ(g.Highscores[40 + k], 0);
        EXPECT_EQ(g.Highscores[20 + k], 1020 + k);
        EXPECT_EQ(g.Highscores[50 + k], 1050 + k);
    }

    g.m_Save();
    EXPECT_EQ(LoadAndCapture(g), kAllLoaded);

    // Damaged settings and badges: defaults, then the floors.
    f = StateFields(ReadStateText(h));
    f[1] = "1"; // (field 0 has weight 0 in the checksum)
    f[30] = "8";
    damaged.clear();
    for (const std::string& field : f) damaged += field + "|";
    WriteStateText(h, damaged);
    g.Badges[9] = true;
    EXPECT_EQ(LoadAndCapture(g), "Settings Checksum Invalid\nBadge Checksum Invalid\nHighscore 0 Loaded\n"
                                 "Highscore 1 Loaded\nHighscore 2 Loaded\n");
    for (int i = 0; i < 25; ++i) {
        const int expected = i == 2 ? 4 : i == 5 ? 1 : i == 10 || i == 11 ? 64 : i == 12 ? 10 : 0;
        EXPECT_EQ(g.Settings[i], expected) << i;
    }
    EXPECT_EQ(g.TiltSensitivity, 4.0f);
    for (int i = 0; i < 256; ++i) EXPECT_FALSE(g.Badges[i]) << i;
}

TEST(SavedState, ShortTextsLoadWhatTheyHold) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    std::vector<std::string> values(25, "0");
    values[5] = "1";
    values[7] = "3";

    // Settings only (26 fields): badges and scores stay as they were.
    ClearState(g);
    g.Badges[7] = true;
    g.Highscores[0] = 55;
    WriteStateText(h, SettingsText(values, "26"));
    EXPECT_EQ(LoadAndCapture(g), "Settings Loaded\n");
    EXPECT_EQ(g.Settings[7], 3);
    EXPECT_TRUE(g.Badges[7]);
    EXPECT_EQ(g.Highscores[0], 55);

    // 25 fields have no checksum: the settings are reset.
    std::string noChecksum;
    for (int i = 0; i < 25; ++i) noChecksum += (i ? "|" : "") + std::string(i == 7 ? "3" : "0");
    g.Settings[7] = 3;
    WriteStateText(h, noChecksum);
    EXPECT_EQ(LoadAndCapture(g), "Settings Checksum Invalid\n");
    EXPECT_EQ(g.Settings[7], 0);
    EXPECT_EQ(g.Settings[5], 1);
    EXPECT_TRUE(g.Badges[7]);
    // With the final bar the checksum field is empty, reads 0 like any other
    // field, and matches when every setting weighs 0.
    std::string zeros;
    for (int i = 0; i < 25; ++i) zeros += "0|";
    g.Settings[3] = 9;
    WriteStateText(h, zeros);
    EXPECT_EQ(LoadAndCapture(g), "Settings Loaded\n");
    EXPECT_EQ(g.Settings[3], 0);
    EXPECT_EQ(g.Settings[5], 0);
    WriteStateText(h, noChecksum + "|");
    EXPECT_EQ(LoadAndCapture(g), "Settings Checksum Invalid\n"); // 7 * 3 is not 0

    // Fewer than 25 fields: settings untouched, badge words read from field 0.
    g.Settings[7] = 6;
    WriteStateText(h, "1|0|0|0|0|0|0|0|1|");
    EXPECT_EQ(LoadAndCapture(g), "Badges Loaded\n");
    EXPECT_EQ(g.Settings[7], 6);
    EXPECT_TRUE(g.Badges[0]);
    EXPECT_FALSE(g.Badges[7]);

    // No file at all: nothing printed, nothing changed, floors still applied.
    std::remove((h.Dir() + "/.cobaltstate").c_str());
    ClearState(g);
    g.Settings[3] = 12;
    g.Highscores[59] = 4;
    EXPECT_EQ(LoadAndCapture(g), "");
    EXPECT_EQ(g.Settings[3], 12);
    EXPECT_EQ(g.Highscores[59], 4);
    EXPECT_EQ(g.Settings[2], 4);
    EXPECT_EQ(g.Settings[10], 64);
    EXPECT_EQ(g.Settings[11], 64);
    EXPECT_EQ(g.Settings[12], 10);
}

TEST(SavedState, FieldsReadLikeNumbersAndHugeOnesSaturate) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    std::vector<std::string> values(25, "0");
    values[1] = "99999999999";                    // INT_MAX
    values[3] = "-99999999999";                   // INT_MIN
    values[4] = " \t+7";                          // blanks and a sign
    values[5] = "1";                              //
    values[6] = "12abc";                          // stops at the first non-digit
    values[7] = "x9";                             // no leading digits: 0
    values[8] = "123456789012345678901234567890"; // beyond 64 bits: INT_MAX
    values[9] = "-2147483648";
    // 1 * INT_MAX + 3 * INT_MIN + 28 + 5 + 72 + 8 * INT_MAX + 9 * INT_MIN = -3 * 2^31 + 96,
    // which wraps to 2^31 + 96, read as a signed 32-bit number.
    WriteStateText(h, SettingsText(values, "-2147483552"));
    EXPECT_EQ(LoadAndCapture(g), "Settings Loaded\n");
    EXPECT_EQ(g.Settings[1], INT_MAX);
    EXPECT_EQ(g.Settings[3], INT_MIN);
    EXPECT_EQ(g.Settings[4], 7);
    EXPECT_EQ(g.Settings[6], 12);
    EXPECT_EQ(g.Settings[7], 0);
    EXPECT_EQ(g.Settings[8], INT_MAX);
    EXPECT_EQ(g.Settings[9], INT_MIN);
}

TEST(SavedState, DamagedAndRandomTextsNeverBreakTheFloors) {
    GameHarness h;
    bb_Skitterbat_MyApp& g = h.game;
    std::mt19937 rng(2024);
    const std::string alphabet = "0123456789||||--+  \tx9999999999";
    for (int i = 0; i < 60; ++i) g.Highscores[i] = static_cast<int>(rng());
    g.Badges[17] = true;
    g.m_Save();
    const std::string valid = ReadStateText(h);

    testing::internal::CaptureStdout();
    for (int round = 0; round < 200; ++round) {
        std::string units;
        if (round % 2 == 0) {
            // Mostly state-like characters, sometimes any byte (often not UTF-8).
            const int length = static_cast<int>(rng() % 400);
            for (int i = 0; i < length; ++i) {
                if (rng() % 8 == 0)
                    units.push_back(static_cast<char>(rng() % 256));
                else
                    units.push_back(alphabet[rng() % alphabet.size()]);
            }
        } else {
            // A good text with a few characters changed, dropped or cut off.
            units = valid;
            for (int n = static_cast<int>(rng() % 3); n >= 0 && !units.empty(); --n) {
                const size_t at = rng() % units.size();
                switch (rng() % 3) {
                case 0:
                    units[at] = static_cast<char16_t>(alphabet[rng() % alphabet.size()]);
                    break;
                case 1:
                    units.erase(at, 1);
                    break;
                default:
                    units.resize(at);
                    break;
                }
            }
        }
        WriteStateText(h, units);
        g.m_Load();
        ASSERT_GE(g.Settings[2], 1) << round;
        ASSERT_GE(g.Settings[10], 64) << round;
        ASSERT_GE(g.Settings[11], 64) << round;
        ASSERT_GE(g.Settings[12], 8) << round;
        ASSERT_EQ(g.TiltSensitivity, static_cast<float>(g.Settings[2]));
    }
    testing::internal::GetCapturedStdout();
}
