// Test support: RIFF WAVE files built byte by byte, and a temporary folder with
// a data/ subfolder that is the working directory for one test.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace wav {

inline std::string Le16(int value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
}

inline std::string Le32(int64_t value) {
    auto v = static_cast<uint32_t>(value);
    return Le16(static_cast<int>(v & 0xFFFF)) + Le16(static_cast<int>(v >> 16));
}

inline std::string Chunk(const std::string& tag, const std::string& body) {
    return tag + Le32(static_cast<int64_t>(body.size())) + body;
}

// A chunk whose size field says something other than its body's length.
inline std::string ChunkWithSize(const std::string& tag, int64_t size, const std::string& body) {
    return tag + Le32(size) + body;
}

inline std::string FormatBody(int code, int channels, int hertz, int bits) {
    int block = channels * bits / 8;
    return Le16(code) + Le16(channels) + Le32(hertz) + Le32(static_cast<int64_t>(hertz) * block) +
           Le16(block) + Le16(bits);
}

inline std::string Riff(const std::string& chunks) {
    return "RIFF" + Le32(static_cast<int64_t>(chunks.size()) + 4) + "WAVE" + chunks;
}

// A sine tone as 16-bit mono samples.
inline std::string Tone16(int frames, int hertz, double amplitude = 12000) {
    std::string pcm;
    for (int i = 0; i < frames; ++i) {
        auto sample = static_cast<int>(amplitude * std::sin(2 * M_PI * 440.0 * i / hertz));
        pcm += Le16(sample & 0xFFFF);
    }
    return pcm;
}

inline std::string MonoTone(int frames, int hertz = 22050) {
    return Riff(Chunk("fmt ", FormatBody(1, 1, hertz, 16)) + Chunk("data", Tone16(frames, hertz)));
}

} // namespace wav

class SoundFolderTest : public testing::Test {
  public:
    static void Write(const std::string& path, const std::string& bytes) {
        std::filesystem::path p(path);
        if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

  protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        char pattern[] = "/tmp/skitterbat-audio-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        std::filesystem::current_path(dir_);
        std::filesystem::create_directory("data");
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    std::filesystem::path previous_;
    std::filesystem::path dir_;
};
