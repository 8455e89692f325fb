// Fuzz targets read their input from a real file, as the game does: one
// private folder per process, one file name per target, rewritten each run.
// The folder lies under TMPDIR (scripts/fuzz points it at a memory file
// system, where rewriting a file costs microseconds rather than a flush).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <fcntl.h>
#include <unistd.h>

// One file by name, rewritten in place on every run: an open, a truncation
// and a close per run cost more than the rest of a small target's run.
class KeptFile {
  public:
    explicit KeptFile(std::string path) : path_(std::move(path)) { Reopen(); }
    ~KeptFile() { ::close(fd_); }
    KeptFile(const KeptFile&) = delete;
    KeptFile& operator=(const KeptFile&) = delete;

    const std::string& Path() const { return path_; }

    void Write(const uint8_t* data, size_t size) {
        size_t done = 0;
        while (done < size) {
            ssize_t wrote = ::pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
            if (wrote <= 0) std::abort();
            done += static_cast<size_t>(wrote);
        }
        if (size < size_ && ::ftruncate(fd_, static_cast<off_t>(size)) != 0) std::abort();
        size_ = size;
    }

    // After something else put a new file under the name (a save renames over
    // it); what that file holds stays until the next Write.
    void Reopen() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ < 0) std::abort();
        const off_t end = ::lseek(fd_, 0, SEEK_END);
        if (end < 0) std::abort();
        size_ = static_cast<size_t>(end);
    }

  private:
    std::string path_;
    int fd_ = -1;
    size_t size_ = 0;
};

class FuzzFile {
  public:
    // `name` is the file's name inside the process's own temporary folder.
    explicit FuzzFile(const char* name) : dir_(MakeDir()), file_(dir_ + "/" + name) {}
    ~FuzzFile() {
        ::unlink(file_.Path().c_str());
        ::rmdir(dir_.c_str());
    }
    FuzzFile(const FuzzFile&) = delete;
    FuzzFile& operator=(const FuzzFile&) = delete;

    const std::string& Dir() const { return dir_; }
    const std::string& Path() const { return file_.Path(); }

    void Write(const uint8_t* data, size_t size) { file_.Write(data, size); }

  private:
    static std::string MakeDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "skitterbat-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        return pattern;
    }

    std::string dir_;
    KeptFile file_;
};
