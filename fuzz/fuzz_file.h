// Fuzz targets read their input from a real file, as the game does: one
// private folder per process, one file name per target, rewritten each run.
// The folder lies under TMPDIR (scripts/fuzz points it at a memory file
// system, where rewriting a file costs microseconds rather than a flush).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

class FuzzFile {
  public:
    // `name` is the file's name inside the process's own temporary folder.
    explicit FuzzFile(const char* name) {
        std::string pattern = (std::filesystem::temp_directory_path() / "skitterbat-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        dir_ = pattern;
        path_ = dir_ + "/" + name;
    }
    ~FuzzFile() {
        ::unlink(path_.c_str());
        ::rmdir(dir_.c_str());
    }
    FuzzFile(const FuzzFile&) = delete;
    FuzzFile& operator=(const FuzzFile&) = delete;

    const std::string& Dir() const { return dir_; }
    const std::string& Path() const { return path_; }

    void Write(const uint8_t* data, size_t size) const { WriteTo(path_, data, size); }

    static void WriteTo(const std::string& path, const uint8_t* data, size_t size) {
        FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) std::abort();
        if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
        if (std::fclose(file) != 0) std::abort();
    }

  private:
    std::string dir_;
    std::string path_;
};
