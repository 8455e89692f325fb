// Test data files: PNGs through stb_image_write, WAVs written by hand.
#include "harness_data.h"

#include <stb_image_write.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

namespace {
void PutLE(std::vector<unsigned char>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

fs::path Prepare(const std::string& root, const std::string& name) {
    fs::path file = fs::path(root) / name;
    fs::create_directories(file.parent_path());
    return file;
}
} // namespace

TestDataDir::TestDataDir() {
    std::string pattern = (fs::temp_directory_path() / "skitterbat-data-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TestDataDir::~TestDataDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void TestDataDir::WritePng(const std::string& name, int width, int height, uint32_t argb) {
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
    for (size_t i = 0; i < pixels.size(); i += 4) {
        pixels[i] = static_cast<unsigned char>(argb >> 16);
        pixels[i + 1] = static_cast<unsigned char>(argb >> 8);
        pixels[i + 2] = static_cast<unsigned char>(argb);
        pixels[i + 3] = static_cast<unsigned char>(argb >> 24);
    }
    const std::string file = Prepare(path_, name).string();
    if (!stbi_write_png(file.c_str(), width, height, 4, pixels.data(), width * 4))
        throw std::runtime_error("cannot write " + file);
}

void TestDataDir::WriteWav(const std::string& name, double seconds) {
    const uint32_t rate = 22050;
    const uint32_t frames = static_cast<uint32_t>(seconds * rate);
    std::vector<unsigned char> out;
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    PutLE(out, 36 + frames * 2, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLE(out, 16, 4);
    PutLE(out, 1, 2); // PCM
    PutLE(out, 1, 2); // mono
    PutLE(out, rate, 4);
    PutLE(out, rate * 2, 4);
    PutLE(out, 2, 2);
    PutLE(out, 16, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    PutLE(out, frames * 2, 4);
    for (uint32_t i = 0; i < frames; ++i) {
        const double sample = 2000 * std::sin(i * 2 * 3.14159265358979 * 440 / rate);
        PutLE(out, static_cast<uint32_t>(static_cast<int16_t>(sample)), 2);
    }
    std::ofstream file(Prepare(path_, name), std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!file) throw std::runtime_error("cannot write " + name);
}
