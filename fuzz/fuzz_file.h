// Fuzz targets read their input from a real file, as the game does: one
// private folder per process, one file name per target, rewritten each run.
// The folder lies under TMPDIR (scripts/fuzz points it at a memory file
// system, where rewriting a file costs microseconds rather than a flush).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <fcntl.h>
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

    // Plain system calls: stdio would allocate a fresh buffer for every run.
    static void WriteTo(const std::string& path, const uint8_t* data, size_t size) {
        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0) std::abort();
        size_t done = 0;
        while (done < size) {
            ssize_t wrote = ::write(fd, data + done, size - done);
            if (wrote <= 0) std::abort();
            done += static_cast<size_t>(wrote);
        }
        if (::close(fd) != 0) std::abort();
    }

  private:
    std::string dir_;
    std::string path_;
};
