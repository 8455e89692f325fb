// The list of effect files and the WAV writer: "RIFF", "WAVE", a 16-byte
// "fmt " chunk (PCM, mono, 16 bits) and the "data" chunk.
#include "effects.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

const std::vector<int>& effectNumbers() {
    static const std::vector<int> numbers = [] {
        std::vector<int> n;
        for (int i = 1; i <= 21; ++i) n.push_back(i);
        for (int i = 31; i <= 37; ++i) n.push_back(i);
        n.insert(n.end(), {95, 98, 99});
        return n;
    }();
    return numbers;
}

std::string effectFile(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "sfx/%03d.wav", number);
    return name;
}

std::vector<unsigned char> wavFile(const std::vector<float>& samples, int rate) {
    unsigned dataBytes = unsigned(samples.size() * 2);
    std::vector<unsigned char> out(44 + size_t(dataBytes));
    size_t at = 0;
    auto put = [&](unsigned v, int bytes) {
        for (int i = 0; i < bytes; ++i) out[at++] = static_cast<unsigned char>(v >> (8 * i));
    };
    auto tag = [&](const char* t) {
        for (int i = 0; i < 4; ++i) out[at++] = static_cast<unsigned char>(t[i]);
    };
    tag("RIFF");
    put(36 + dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2); // PCM
    put(1, 2); // mono
    put(unsigned(rate), 4);
    put(unsigned(rate) * 2, 4);
    put(2, 2);
    put(16, 2);
    tag("data");
    put(dataBytes, 4);
    for (float s : samples) {
        long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
        put(static_cast<unsigned>(static_cast<short>(v)) & 0xffffu, 2);
    }
    return out;
}
