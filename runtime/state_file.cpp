// Crash-safe writing and reading of the state file. A save replaces the file
// through a temporary one and a rename, but only where that changes nothing
// else a plain write would have kept: links, permissions, other names.
#include "runtime/state_file.h"

#include "runtime/datapath.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kMaxLinkHops = 40; // as the kernel's own limit

// Sets errno on every failure, a full disk included.
bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote == 0) errno = ENOSPC;
        if (wrote <= 0) return false;
        done += static_cast<size_t>(wrote);
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
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
    std::string folder = FolderOf(path);
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}
#endif

// The game ignores what a save returns, so the player learns of a lost save here.
int Refuse(const char* path, int status, int error) {
    std::fprintf(stderr, "Cannot save %s: %s\n", path, std::strerror(error));
    return status;
}

// The old way: every name of the file sees the new state, but a crash midway
// can leave it torn.
int WriteInPlace(const char* path, int fd, const std::string& bytes) {
    struct stat info;
    bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    // Writing to a pipe or device must not wait for a reader that never comes.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    bool written =
        (!regular || ::ftruncate(fd, 0) == 0) && WriteAll(fd, bytes) && (!regular || Flush(fd) == 0);
    int error = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    return written ? 0 : Refuse(path, -2, error);
}

} // namespace

std::string ResolveLinks(std::string path) {
    char link[PATH_MAX];
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        ssize_t length = ::readlink(path.c_str(), link, sizeof link);
        if (length <= 0 || static_cast<size_t>(length) == sizeof link) break;
        std::string target(link, static_cast<size_t>(length));
        path = target[0] == '/' ? target : FolderOf(path) + target;
    }
    return path;
}

int WriteStateFile(const char* path, const String& state) {
    const std::string bytes = EncodeStateText(state);
    const std::string target = ResolveLinks(path);

    struct stat old;
    bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) return Refuse(path, -1, errno);
    if (exists) {
        // A file the player may not write is left alone, as a plain write would.
        int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) return Refuse(path, -1, errno);
        // A rename would part a file from its other names, and devices or pipes
        // are not ours to replace.
        if (!S_ISREG(old.st_mode) || old.st_nlink > 1) return WriteInPlace(path, fd, bytes);
        ::close(fd);
    }

    // One left by a save that was cut short may be read-only, or a link to
    // somewhere else: it is never reused.
    const std::string temporary = target + ".tmp";
    ::unlink(temporary.c_str());
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        // The folder takes no new file, but the old one may still be writable.
        int direct = ::open(target.c_str(), O_WRONLY | O_CREAT | O_NOCTTY | O_CLOEXEC, 0666);
        if (direct < 0) return Refuse(path, -1, errno);
        return WriteInPlace(path, direct, bytes);
    }
    if (exists) {
        // The replacement keeps the owner and permissions of the old file; only
        // root can hand a file to someone else, and only root needs to.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            [[maybe_unused]] int kept = ::fchown(fd, old.st_uid, old.st_gid);
        }
        ::fchmod(fd, old.st_mode & 07777);
    }
    bool written = WriteAll(fd, bytes) && Flush(fd) == 0;
    int error = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written && std::rename(temporary.c_str(), target.c_str()) != 0) {
        written = false;
        error = errno;
    }
    if (!written) {
        ::unlink(temporary.c_str());
        return Refuse(path, -2, error);
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
