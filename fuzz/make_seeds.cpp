// Writes the starting corpus of every fuzz target: small valid files of each
// kind the game reads, plus a few near misses, into <dir>/<target>/.
#include "replay_seeds.h"

#include <stb_image_write.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

void Save(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void Put16(std::string& s, int v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string Chunk(const char* tag, const std::string& body) {
    std::string s(tag, 4);
    Put32(s, static_cast<uint32_t>(body.size()));
    return s + body;
}

std::string Format(int code, int channels, int hertz, int bits, int extra = 0) {
    std::string s;
    Put16(s, code);
    Put16(s, channels);
    Put32(s, static_cast<uint32_t>(hertz));
    Put32(s, static_cast<uint32_t>(hertz * channels * bits / 8));
    Put16(s, channels * bits / 8);
    Put16(s, bits);
    if (extra > 0) {
        Put16(s, 0);
        s.append(static_cast<size_t>(extra - 2), '\0');
    }
    return s;
}

std::string Riff(const std::string& chunks) {
    std::string s = "RIFF";
    Put32(s, static_cast<uint32_t>(chunks.size() + 4));
    return s + "WAVE" + chunks;
}

std::string Samples(int count, int bytesEach) {
    std::string s;
    for (int i = 0; i < count; ++i) {
        int v = (i * 37) % 251 - 125;
        if (bytesEach == 1) {
            s += static_cast<char>(v + 128);
        } else {
            Put16(s, v * 200);
        }
    }
    return s;
}

void WavSeeds(const fs::path& dir) {
    Save(dir / "mono8.wav", Riff(Chunk("fmt ", Format(1, 1, 8000, 8)) + Chunk("data", Samples(64, 1))));
    Save(dir / "stereo16.wav", Riff(Chunk("fmt ", Format(1, 2, 22050, 16)) + Chunk("data", Samples(128, 2))));
    Save(dir / "fmt18.wav", Riff(Chunk("fmt ", Format(1, 1, 11025, 16, 2)) + Chunk("data", Samples(32, 2))));
    Save(dir / "list.wav", Riff(Chunk("fmt ", Format(1, 2, 44100, 8)) +
                                Chunk("LIST", "INFOISFT\4\0\0\0abc\0") + Chunk("data", Samples(40, 1))));
    Save(dir / "list_first.wav",
         Riff(Chunk("LIST", "INFO") + Chunk("fmt ", Format(1, 1, 8000, 8)) + Chunk("data", Samples(8, 1))));
    Save(dir / "float.wav", Riff(Chunk("fmt ", Format(3, 1, 8000, 32)) + Chunk("data", Samples(8, 2))));
    std::string cut = Riff(Chunk("fmt ", Format(1, 1, 8000, 16)) + Chunk("data", Samples(100, 2)));
    Save(dir / "cut.wav", cut.substr(0, cut.size() - 50));
}

void ImageSeeds(const fs::path& dir) {
    const int w = 5, h = 3;
    for (int depth = 1; depth <= 4; ++depth) {
        std::vector<unsigned char> pixels(static_cast<size_t>(w * h * depth));
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i * 29 + 7);
        std::string base = (dir / ("d" + std::to_string(depth))).string();
        stbi_write_png((base + ".png").c_str(), w, h, depth, pixels.data(), w * depth);
        stbi_write_bmp((base + ".bmp").c_str(), w, h, depth, pixels.data());
        stbi_write_tga((base + ".tga").c_str(), w, h, depth, pixels.data());
        if (depth == 3) stbi_write_jpg((base + ".jpg").c_str(), w, h, depth, pixels.data(), 80);
    }
}

// A state text in the saved format, checksums included.
std::string StateText(const std::vector<int>& settings, const std::vector<int>& words,
                      const std::vector<int>& scores) {
    std::string text;
    auto field = [&](uint32_t v) { text += std::to_string(static_cast<int32_t>(v)) + "|"; };
    uint32_t sum = 0;
    for (int i = 0; i < 25; ++i) {
        field(static_cast<uint32_t>(settings[i]));
        sum += static_cast<uint32_t>(i) * static_cast<uint32_t>(settings[i]);
    }
    field(sum);
    sum = 0;
    for (int w : words) {
        field(static_cast<uint32_t>(w));
        sum += static_cast<uint32_t>(w);
    }
    field(sum);
    for (int d = 0; d < 3; ++d) {
        sum = 0;
        for (int k = 0; k < 10; ++k) {
            int best = scores[10 * d + k], recent = scores[30 + 10 * d + k];
            field(static_cast<uint32_t>(best));
            field(static_cast<uint32_t>(recent));
            sum += static_cast<uint32_t>(k + 4) * static_cast<uint32_t>(best) +
                   static_cast<uint32_t>(d + k + 3) * static_cast<uint32_t>(recent);
        }
        field(sum);
    }
    return text;
}

std::string Utf16(const std::string& text, bool bigEndian) {
    std::string s = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : text) {
        if (bigEndian) s += '\0';
        s += c;
        if (!bigEndian) s += '\0';
    }
    return s;
}

void StateSeeds(const fs::path& dir) {
    std::vector<int> settings(25, 0), words(8, 0), scores(60, 0);
    settings[5] = 1;
    Save(dir / "defaults", StateText(settings, words, scores));
    for (int i = 0; i < 25; ++i) settings[i] = i * 7 - 20;
    words = {1, -2147483647 - 1, 0, 5, 0, 0, 0, 77};
    for (int i = 0; i < 60; ++i) scores[i] = 100000 - i * 1500;
    std::string full = StateText(settings, words, scores);
    Save(dir / "full", full);
    Save(dir / "bom8", "\xEF\xBB\xBF" + full);
    Save(dir / "utf16le", Utf16(full, false));
    Save(dir / "utf16be", Utf16(full, true));
    Save(dir / "settings_only", full.substr(0, full.find('|', 60) + 1));
    Save(dir / "invalid_utf8", full.substr(0, 40) + "\xC3" + full.substr(40));
    Save(dir / "letters", "a|b|-|+7| 12|99999999999999999999|\xE2\x82\xAC|");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR OGG_SEED_DIR GOLDEN_REPLAY_DIR\n", argv[0]);
        return 2;
    }
    fs::path root(argv[1]);
    for (const char* target : {"wav", "ogg", "image", "state", "replay"})
        fs::create_directories(root / target);
    WavSeeds(root / "wav");
    ImageSeeds(root / "image");
    StateSeeds(root / "state");
    for (const auto& entry : fs::directory_iterator(argv[2]))
        fs::copy_file(entry.path(), root / "ogg" / entry.path().filename(),
                      fs::copy_options::overwrite_existing);
    ReplaySeeds(root / "replay", argv[3]);
    return 0;
}
