// A throw-away data folder for game tests: solid-colour PNG images and short
// WAV sounds written on demand, removed with the folder.
#pragma once

#include <cstdint>
#include <string>

class TestDataDir {
  public:
    TestDataDir();
    ~TestDataDir();
    TestDataDir(const TestDataDir&) = delete;
    TestDataDir& operator=(const TestDataDir&) = delete;

    const std::string& Path() const { return path_; }
    // Writes name (relative, folders created) as a width x height PNG of one colour 0xAARRGGBB.
    void WritePng(const std::string& name, int width, int height, uint32_t argb);
    // Writes name as a 16-bit mono 22050 Hz WAV of a quiet tone lasting `seconds`.
    void WriteWav(const std::string& name, double seconds);

  private:
    std::string path_;
};
