#include "runtime/random.h"

#include <gtest/gtest.h>

#include <climits>

TEST(Random, SequenceFromTheStartSeed) {
    bb_random_Seed = 1234;
    float r = bb_random_Rnd();
    EXPECT_EQ(static_cast<unsigned>(bb_random_Seed), 3067928073u);
    EXPECT_EQ(r, 11984094.0f / 16777216.0f);
    EXPECT_NEAR(r, 0.7143077f, 1e-7);

    // Every draw has 24 significant bits and stays below 1.
    bb_random_Seed = -1;
    for (int i = 0; i < 1000; ++i) {
        float v = bb_random_Rnd();
        ASSERT_GE(v, 0.0f);
        ASSERT_LT(v, 1.0f);
        ASSERT_EQ(v * 16777216.0f, static_cast<float>(static_cast<int>(v * 16777216.0f)));
    }
}

TEST(Random, RangesAdvanceTheSeedLikeRnd) {
    bb_random_Seed = 1234;
    EXPECT_EQ(bb_random_Rnd2(2.5f, 2.5f), 2.5f);
    EXPECT_EQ(static_cast<unsigned>(bb_random_Seed), 3067928073u);
    unsigned afterFirst = static_cast<unsigned>(bb_random_Seed);
    EXPECT_EQ(bb_random_Rnd3(0), 0.0f);
    EXPECT_EQ(static_cast<unsigned>(bb_random_Seed), afterFirst * 1664525u + 1013904223u);

    bb_random_Seed = 1234;
    float expected = 10.0f + (30.0f - 10.0f) * (11984094.0f / 16777216.0f);
    EXPECT_EQ(bb_random_Rnd2(10.0f, 30.0f), expected);
    bb_random_Seed = 1234;
    EXPECT_EQ(bb_random_Rnd3(100.0f), (11984094.0f / 16777216.0f) * 100.0f);
}

TEST(MathAbs, IntsAndFloats) {
    EXPECT_EQ(bb_math_Abs(-5), 5);
    EXPECT_EQ(bb_math_Abs(7), 7);
    EXPECT_EQ(bb_math_Abs(INT_MIN), INT_MIN);
    EXPECT_EQ(bb_math_Abs2(-2.5f), 2.5f);
    EXPECT_EQ(bb_math_Abs2(3.0f), 3.0f);
    EXPECT_EQ(bb_math_Abs2(-0.0f), -0.0f);
}
