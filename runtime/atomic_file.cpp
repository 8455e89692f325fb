// Replacing a file whole: the new bytes go to a temporary file beside it,
// are flushed and renamed over it, but only where that changes nothing else a
// plain write would have kept: links, permissions, owner, other names.
#include "runtime/atomic_file.h"

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

bool flushing = true;

int Flush(int fd) {
    return flushing ? ::fsync(fd) : 0;
}

// Makes the rename itself durable; a failure here loses nothing already written.
void SyncFolderOf(const std::string& path) {
    if (!flushing) return;
    std::string folder = FolderOf(path);
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Callers go on whatever a save returns, so the player learns of a lost save here.
int Refuse(const char* path, int status, int error) {
    std::fprintf(stderr, "Cannot save %s: %s\n", path, std::strerror(error));
    return status;
}

// Every name of the file sees the new bytes, but a crash midway can leave it torn.
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

// The name of the file a plain write to `path` would change: symbolic links
// followed (relative ones from their own folder), so a save that replaces the
// file by renaming over it keeps the link a link.
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

} // namespace

void SetFlushOnWrite(bool flush) {
    flushing = flush;
}

int WriteFileAtomically(const char* path, const std::string& bytes) {
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
    // Another program saving the same file at the same moment removes our
    // temporary file and makes its own: renaming that half-written one over
    // the file would tear it, so the later save wins and this one gives way.
    struct stat mine, named;
    if (written && (::fstat(fd, &mine) != 0 || ::lstat(temporary.c_str(), &named) != 0 ||
                    mine.st_ino != named.st_ino || mine.st_dev != named.st_dev)) {
        written = false;
        error = EBUSY;
    }
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written && std::rename(temporary.c_str(), target.c_str()) != 0) {
        written = false;
        error = errno;
    }
    if (!written) {
        if (error != EBUSY) ::unlink(temporary.c_str());
        return Refuse(path, -2, error);
    }
    SyncFolderOf(target);
    return 0;
}
