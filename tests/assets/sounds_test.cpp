// Generated sound effects, read with the game's own decoder: every effect the
// game loads is 16-bit mono PCM, audible, below -1 dBFS, of similar loudness
// to the others, centred on zero, quiet at both ends, and the ten hit sounds
// differ.
#include "audio/sound_decode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kData = SKITTERBAT_DATA_DIR;

std::vector<int> EffectNumbers() {
    std::vector<int> n;
    for (int i = 1; i <= 21; ++i) n.push_back(i);
    for (int i = 31; i <= 37; ++i) n.push_back(i);
    for (int i : {95, 98, 99}) n.push_back(i);
    return n;
}

std::string EffectPath(int n) {
    char name[32];
    std::snprintf(name, sizeof name, "/sfx/%03d.wav", n);
    return kData + name;
}

struct Effect {
    std::vector<short> samples;
    int channels = 0, bytesPerSample = 0, hertz = 0;
};

bool Decode(int n, Effect* e) {
    int length = 0;
    unsigned char* data =
        loadSound(String(EffectPath(n)), &length, &e->channels, &e->bytesPerSample, &e->hertz);
    if (!data) return false;
    if (e->bytesPerSample == 2) {
        e->samples.resize(size_t(length) * std::max(1, e->channels));
        for (size_t i = 0; i < e->samples.size(); ++i)
            e->samples[i] = short(data[2 * i] | (data[2 * i + 1] << 8));
    }
    unloadSound(data);
    return true;
}

int Peak(const std::vector<short>& s) {
    int peak = 0;
    for (short v : s) peak = std::max(peak, std::abs(int(v)));
    return peak;
}

// RMS of the loudest 50 ms, in dB relative to full scale.
double LoudestDb(const std::vector<short>& s, int hertz) {
    size_t win = size_t(hertz / 20);
    double best = 0;
    for (size_t i = 0; i < s.size(); i += win / 10) {
        double sum = 0;
        for (size_t k = i; k < std::min(s.size(), i + win); ++k) sum += double(s[k]) * s[k];
        best = std::max(best, sum / double(win));
    }
    return 10 * std::log10(best / (32768.0 * 32768.0) + 1e-12);
}

TEST(Sounds, EveryEffectIsMonoSixteenBitAndLevelled) {
    const int ceiling = int(32768 * std::pow(10.0, -1.0 / 20)); // -1 dBFS
    std::vector<double> loudness;
    for (int n : EffectNumbers()) {
        Effect e;
        ASSERT_TRUE(Decode(n, &e)) << EffectPath(n);
        EXPECT_EQ(e.channels, 1) << n;
        EXPECT_EQ(e.bytesPerSample, 2) << n;
        EXPECT_TRUE(e.hertz == 22050 || e.hertz == 44100) << n;
        ASSERT_GT(e.samples.size(), size_t(e.hertz / 50)) << n << " is too short to hear";
        int peak = Peak(e.samples);
        EXPECT_LE(peak, ceiling) << n << " peaks above -1 dBFS";
        EXPECT_GE(peak, 3277) << n << " is nearly silent";
        // Both ends fade, so starting and stopping does not click.
        EXPECT_LE(std::abs(int(e.samples.front())), 100) << n;
        EXPECT_LE(std::abs(int(e.samples.back())), 100) << n;
        // No offset: it would waste headroom and thump when a sound starts.
        double sum = 0;
        for (short v : e.samples) sum += v;
        EXPECT_LE(std::fabs(sum / double(e.samples.size())), 328.0) << n << " carries an offset";
        loudness.push_back(LoudestDb(e.samples, e.hertz));
    }
    auto [quietest, loudest] = std::minmax_element(loudness.begin(), loudness.end());
    EXPECT_LE(*loudest - *quietest, 6.0) << "effects differ too much in loudness";
}

// A plain RIFF/WAVE file: the 16-byte "fmt " chunk first, then "data".
TEST(Sounds, FilesAreCanonicalWave) {
    for (int n : EffectNumbers()) {
        std::ifstream in(EffectPath(n), std::ios::binary);
        std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_GE(b.size(), 44u) << n;
        auto u32 = [&](size_t at) {
            return unsigned(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | b[at + 3] << 24);
        };
        EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF") << n;
        EXPECT_EQ(u32(4), b.size() - 8) << n;
        EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ") << n;
        EXPECT_EQ(u32(16), 16u) << n;
        EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data") << n;
        EXPECT_EQ(u32(40), b.size() - 44) << n;
    }
}

TEST(Sounds, HitSoundsAreDistinct) {
    std::set<std::vector<short>> seen;
    for (int n = 1; n <= 10; ++n) {
        Effect e;
        ASSERT_TRUE(Decode(n, &e));
        EXPECT_TRUE(seen.insert(e.samples).second) << "hit sound " << n << " repeats another";
    }
}

} // namespace
