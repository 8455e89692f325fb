// Crash-safe writing and reading of the state file.
#include "host/state_file.h"

#include "host/datapath.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <string>
#include <unistd.h>

namespace {

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += static_cast<size_t>(wrote);
    }
    return true;
}

// A fuzz build saves thousands of times a second into a memory file system,
// where flushing proves nothing and costs four system calls a save.
#ifdef SKITTERBAT_FUZZING
int Flush(int) {
    return 0;
}
void SyncFolderOf(const std::string&) {}
#else
int Flush(int fd) {
    return ::fsync(fd);
}

// Makes the rename itself durable; a failure here loses nothing already written.
void SyncFolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}
#endif

} // namespace

int WriteStateFile(const char* path, const String& state) {
    std::string target(path);
    std::string temporary = target + ".tmp";
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    // The replacement keeps the permissions the player gave the old file.
    struct stat old;
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 07777);
    bool written = WriteAll(fd, EncodeStateText(state)) && Flush(fd) == 0;
    if (::close(fd) != 0) written = false;
    if (!written || std::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return -2;
    }
    SyncFolderOf(target);
    return 0;
}

String ReadStateFile(const char* path) {
    FILE* file = std::fopen(path, "rb");
    if (!file) return String();
    std::string bytes = ReadWholeFile(file);
    std::fclose(file);
    return DecodeStateText(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}
