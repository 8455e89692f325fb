// Small helpers shared by the menu, game-over, badge, saved-state and credits
// tests: the state file of a harness and finding draw records.
#pragma once

#include "harness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

// The state file's bytes, empty when there is none.
inline std::string ReadStateText(const GameHarness& h) {
    std::ifstream in(h.Dir() + "/.cobaltstate", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteStateText(const GameHarness& h, const std::string& text) {
    std::ofstream(h.Dir() + "/.cobaltstate", std::ios::binary | std::ios::trunc) << text;
}

// The fields of a state text, each number without its "|".
inline std::vector<std::string> StateFields(const std::string& text) {
    std::vector<std::string> fields;
    std::string field;
    for (char c : text) {
        if (c == '|') {
            fields.push_back(field);
            field.clear();
        } else {
            field.push_back(c);
        }
    }
    EXPECT_TRUE(field.empty()) << "a state text ends with |";
    return fields;
}

// Runs m_Load and returns what it printed.
inline std::string LoadAndCapture(bb_Skitterbat_MyApp& game) {
    testing::internal::CaptureStdout();
    game.m_Load();
    return testing::internal::GetCapturedStdout();
}

inline bool Near(float a, float b) {
    return std::fabs(a - b) < 0.01f;
}

// Rectangles of the last update with this position and size.
inline int CountRects(const GameHarness& h, float x, float y, float w, float hh) {
    int found = 0;
    for (const DrawRecord& r : h.Records())
        if (r.IsRect() && Near(r.x, x) && Near(r.y, y) && Near(r.w, w) && Near(r.h, hh)) ++found;
    return found;
}

inline int CountTexts(const GameHarness& h, const std::string& text) {
    int found = 0;
    for (const TextRun& run : h.Texts())
        if (run.text == text) ++found;
    return found;
}
