// Saved state: settings, badge flags and score lists as one "|"-separated line
// of numbers with a checksum per section. Each section is kept or reset on its
// own when loading, so one damaged section never costs the others.
#include "game/skitterbat.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int SettingCount = 25;
constexpr int BadgeWords = 8;
constexpr int ScoreRuns = 3;

// Checksums wrap like 32-bit signed ints; unsigned arithmetic keeps that defined.
int Wrap(uint32_t value) {
    return static_cast<int>(value);
}

// Reads a field like atoi does (blanks, sign, digits up to the first other
// character, 0 without digits) but defined for every input: out-of-range
// numbers saturate instead of overflowing.
int ReadField(std::u16string_view units) {
    // Each unit counts by its low byte, as the text's C string would show it.
    auto byteAt = [&](size_t i) { return static_cast<char>(units[i] & 0xFF); };
    size_t at = 0;
    while (at < units.size() && (byteAt(at) == ' ' || (byteAt(at) >= '\t' && byteAt(at) <= '\r'))) ++at;
    bool negative = false;
    if (at < units.size() && (byteAt(at) == '+' || byteAt(at) == '-')) {
        negative = byteAt(at) == '-';
        ++at;
    }
    const int64_t limit = negative ? -static_cast<int64_t>(INT_MIN) : INT_MAX;
    int64_t value = 0;
    for (; at < units.size() && byteAt(at) >= '0' && byteAt(at) <= '9'; ++at) {
        value = value * 10 + (byteAt(at) - '0');
        if (value > limit) value = limit; // stays saturated for any further digits
    }
    return static_cast<int>(negative ? -value : value);
}

int SettingsChecksum(const Array<int>& settings) {
    uint32_t sum = 0;
    for (int i = 0; i < SettingCount; ++i)
        sum += static_cast<uint32_t>(i) * static_cast<uint32_t>(settings[i]);
    return Wrap(sum);
}

int BadgeWord(const Array<bool>& badges, int word) {
    uint32_t bits = 0;
    for (int b = 0; b < 32; ++b)
        if (badges[32 * word + b]) bits |= uint32_t{1} << b;
    return Wrap(bits);
}

int ScoreChecksum(const Array<int>& scores, int run) {
    uint32_t sum = 0;
    for (int k = 0; k < 10; ++k) {
        sum += static_cast<uint32_t>(k + 4) * static_cast<uint32_t>(scores[10 * run + k]);
        sum += static_cast<uint32_t>(run + k + 3) * static_cast<uint32_t>(scores[30 + 10 * run + k]);
    }
    return Wrap(sum);
}

void Append(std::string& text, int value) {
    text += std::to_string(value);
    text += '|';
}

} // namespace

int bb_Skitterbat_MyApp::m_Save() {
    SaveWanted = 0;
    std::string text;
    for (int i = 0; i < SettingCount; ++i) Append(text, Settings[i]);
    Append(text, SettingsChecksum(Settings));

    uint32_t badgeSum = 0;
    for (int j = 0; j < BadgeWords; ++j) {
        const int word = BadgeWord(Badges, j);
        Append(text, word);
        badgeSum += static_cast<uint32_t>(word);
    }
    Append(text, Wrap(badgeSum));

    for (int d = 0; d < ScoreRuns; ++d) {
        for (int k = 0; k < 10; ++k) {
            Append(text, Highscores[10 * d + k]);
            Append(text, Highscores[30 + 10 * d + k]);
        }
        Append(text, ScoreChecksum(Highscores, d));
    }
    bb_app_SaveState(String(text));
    return 0;
}

int bb_Skitterbat_MyApp::m_Load() {
    // Fields are read in place: a String per field would cost an allocation each.
    const String text = bb_app_LoadState();
    const std::u16string_view units = text.Units();
    std::vector<int> fields;
    fields.reserve(static_cast<size_t>(std::count(units.begin(), units.end(), u'|')) + 1);
    for (size_t start = 0;;) {
        const size_t end = units.find(u'|', start);
        fields.push_back(
            ReadField(units.substr(start, end == std::u16string_view::npos ? end : end - start)));
        if (end == std::u16string_view::npos) break;
        start = end + 1;
    }
    const int count = static_cast<int>(fields.size());
    auto field = [&](int index) { return fields[static_cast<size_t>(index)]; };
    int cursor = 0;

    if (count >= SettingCount) {
        for (int i = 0; i < SettingCount; ++i) Settings[i] = field(i);
        // Settings without a checksum field count as damaged; a checksum field
        // without digits reads as 0, like every other field.
        const bool hasChecksum = count > SettingCount;
        if (hasChecksum && field(SettingCount) == SettingsChecksum(Settings)) {
            DebugLog(String("Settings Loaded"));
        } else {
            DebugLog(String("Settings Checksum Invalid"));
            for (int i = 0; i < SettingCount; ++i) Settings[i] = 0;
            Settings[5] = 1;
        }
        cursor = SettingCount + 1;
    }

    if (Settings[2] <= 0) Settings[2] = 4;
    TiltSensitivity = static_cast<float>(Settings[2]);
    if (Settings[10] <= 63) Settings[10] = 64;
    if (Settings[11] <= 63) Settings[11] = 64;
    if (Settings[12] <= 7) Settings[12] = 10;

    if (cursor + BadgeWords < count) {
        uint32_t sum = 0;
        for (int j = 0; j < BadgeWords; ++j) {
            const uint32_t word = static_cast<uint32_t>(field(cursor + j));
            for (int b = 0; b < 32; ++b) Badges[32 * j + b] = ((word >> b) & 1u) != 0;
            sum += word;
        }
        if (field(cursor + BadgeWords) == Wrap(sum)) {
            DebugLog(String("Badges Loaded"));
        } else {
            DebugLog(String("Badge Checksum Invalid"));
            for (int i = 0; i < Badges.Length(); ++i) Badges[i] = false;
        }
        cursor += BadgeWords + 1;
    }

    for (int d = 0; d < ScoreRuns; ++d) {
        if (cursor + 20 >= count) continue;
        for (int k = 0; k < 10; ++k) {
            Highscores[10 * d + k] = field(cursor + 2 * k);
            Highscores[30 + 10 * d + k] = field(cursor + 2 * k + 1);
        }
        if (field(cursor + 20) == ScoreChecksum(Highscores, d)) {
            Print(String("Highscore ") + d + " Loaded");
        } else {
            Print(String("Highscore ") + d + " Checksum Invalid");
            for (int k = 0; k < 10; ++k) {
                Highscores[10 * d + k] = 0;
                Highscores[30 + 10 * d + k] = 0;
            }
        }
        cursor += 21;
    }
    return 0;
}
