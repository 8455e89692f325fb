// The atomic writer's rules, once for every file written through it: a torn
// file never, links kept links, hard links and non-regular files written in
// place, leftovers of a killed run removed, permissions as for a plain write.
#include "runtime/atomic_file.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr uid_t kPlayer = 65534; // nobody

using AtomicFile = TempDirTest;

// Saves in a child process whose files may not grow past `limit` bytes, as on
// a full disk; returns the save's status.
int SaveWithFileSizeLimit(const std::string& bytes, rlim_t limit) {
    pid_t pid = fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit cap{limit, limit};
        setrlimit(RLIMIT_FSIZE, &cap);
        _exit(WriteFileAtomically("saved", bytes) & 0xFF);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? static_cast<signed char>(WEXITSTATUS(status)) : 99;
}

} // namespace

TEST_F(AtomicFile, FailedSavesLeaveTheOldFileAsItWas) {
    const std::string old = "4|8|15|16|23|42";
    WriteBytes("saved", old);

    // The disk fills up part-way through the text.
    EXPECT_EQ(SaveWithFileSizeLimit(std::string(100, 'x'), 10), -2);
    EXPECT_EQ(ReadBytes("saved"), old);
    EXPECT_FALSE(std::filesystem::exists("saved.tmp"));

    // The same limit lets a short text through.
    EXPECT_EQ(SaveWithFileSizeLimit("1|2", 10), 0);
    EXPECT_EQ(ReadBytes("saved"), "1|2");

    // A folder in its place cannot be written, and is not replaced either.
    std::filesystem::remove("saved");
    std::filesystem::create_directories("saved/keep");
    EXPECT_EQ(WriteFileAtomically("saved", "x"), -1);
    EXPECT_TRUE(std::filesystem::is_directory("saved/keep"));
    EXPECT_FALSE(std::filesystem::exists("saved.tmp"));
    EXPECT_FALSE(std::filesystem::is_regular_file("saved"));
}

TEST_F(AtomicFile, LinksKeepPointingAtTheSavedState) {
    namespace fs = std::filesystem;
    // A relative link to a relative link to the real file, in another folder.
    WriteBytes("real/state", "old");
    fs::create_symlink("state", "real/hop");
    fs::create_symlink("real/hop", "saved");
    EXPECT_EQ(WriteFileAtomically("saved", "new"), 0);
    EXPECT_TRUE(fs::is_symlink("saved"));
    EXPECT_TRUE(fs::is_symlink("real/hop"));
    EXPECT_EQ(ReadBytes("real/state"), "new");
    EXPECT_FALSE(fs::exists("real/state.tmp"));
    EXPECT_FALSE(fs::exists("saved.tmp"));

    // A dangling link gets its target created.
    fs::remove("real/state");
    EXPECT_EQ(WriteFileAtomically("saved", "first"), 0);
    EXPECT_TRUE(fs::is_symlink("saved"));
    EXPECT_EQ(ReadBytes("real/state"), "first");

    // Hard links are written in place, so every name sees the new state.
    fs::remove("saved");
    fs::create_hard_link("real/state", "saved");
    EXPECT_EQ(WriteFileAtomically("saved", "shared"), 0);
    EXPECT_EQ(ReadBytes("real/state"), "shared");
    EXPECT_TRUE(fs::equivalent("real/state", "saved"));

    // A temporary file left by a killed save is never written through, even
    // when it is a link, and goes away.
    fs::remove("saved");
    WriteBytes("victim", "keep me");
    fs::create_symlink("victim", "saved.tmp");
    EXPECT_EQ(WriteFileAtomically("saved", "after"), 0);
    EXPECT_EQ(ReadBytes("saved"), "after");
    EXPECT_EQ(ReadBytes("victim"), "keep me");
    EXPECT_FALSE(fs::exists(fs::symlink_status("saved.tmp")));

    // A link loop is reported, not replaced.
    fs::remove("saved");
    fs::create_symlink("saved", "saved");
    EXPECT_EQ(WriteFileAtomically("saved", "x"), -1);
    EXPECT_TRUE(fs::is_symlink("saved"));

    // Where no temporary file can be made, the file is written in place.
    fs::remove("saved");
    WriteBytes("saved", "old");
    fs::create_directory("saved.tmp");
    EXPECT_EQ(WriteFileAtomically("saved", "in place"), 0);
    EXPECT_EQ(ReadBytes("saved"), "in place");
}

namespace {

// Saves as an ordinary player: the tests may run as root, who may write any
// file, so the child gives its privileges away first. Standard error goes to
// `errors`. Returns the save's status, or 99 when privileges cannot be dropped.
int SaveAsPlayer(const std::string& path, const std::string& text, const std::string& errors) {
    pid_t pid = fork();
    if (pid == 0) {
        int err = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        dup2(err, STDERR_FILENO);
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(kPlayer) != 0 || setuid(kPlayer) != 0))
            _exit(99);
        _exit(WriteFileAtomically(path.c_str(), text) & 0xFF);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? static_cast<signed char>(WEXITSTATUS(status)) : 98;
}

} // namespace

TEST_F(AtomicFile, PermissionsDecideAsForAPlainWrite) {
    namespace fs = std::filesystem;
    const bool root = geteuid() == 0;
    const uid_t player = root ? kPlayer : geteuid();
    const gid_t group = root ? kPlayer : getegid();
    fs::permissions(".", fs::perms::all);
    auto prepare = [&](const std::string& folder, const std::string& content, fs::perms mode) {
        WriteBytes(folder + "/saved", content);
        ASSERT_EQ(chown(folder.c_str(), player, group), 0);
        ASSERT_EQ(chown((folder + "/saved").c_str(), player, group), 0);
        fs::permissions(folder + "/saved", mode);
    };
    auto errors = [&](const std::string& name) {
        std::string text = ReadBytes(name);
        return std::count(text.begin(), text.end(), '\n') == 1 ? text : "not one line: " + text;
    };

    // A write-protected file is left alone.
    prepare("own", "old", fs::perms::owner_read);
    int status = SaveAsPlayer("own/saved", "new", "own.err");
    if (status == 99) GTEST_SKIP() << "cannot drop root privileges to user " << kPlayer;
    EXPECT_EQ(status, -1);
    EXPECT_EQ(ReadBytes("own/saved"), "old");
    EXPECT_FALSE(fs::exists("own/saved.tmp"));
    EXPECT_EQ(errors("own.err"), "Cannot save own/saved: Permission denied\n");

    // A writable file in a folder that takes no new file is written in place.
    prepare("locked", "old", fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions("locked", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                  fs::perms::others_exec);
    EXPECT_EQ(SaveAsPlayer("locked/saved", "new", "locked.err"), 0);
    EXPECT_EQ(ReadBytes("locked/saved"), "new");
    EXPECT_EQ(ReadBytes("locked.err"), "");
    EXPECT_EQ(SaveAsPlayer("locked/.missing", "new", "missing.err"), -1);
    EXPECT_EQ(errors("missing.err"), "Cannot save locked/.missing: Permission denied\n");
    fs::permissions("locked", fs::perms::owner_all);

    // In a shared sticky folder a file of someone else's cannot be replaced:
    // the rename fails and the old file stays whole.
    if (!root) GTEST_SKIP() << "a file owned by another user needs root to set up";
    fs::create_directory("shared");
    fs::permissions("shared", fs::perms::all | fs::perms::sticky_bit);
    WriteBytes("shared/saved", "old");
    fs::permissions("shared/saved", fs::perms::all & ~(fs::perms::owner_exec | fs::perms::group_exec |
                                                       fs::perms::others_exec));
    EXPECT_EQ(SaveAsPlayer("shared/saved", "new", "shared.err"), -2);
    EXPECT_EQ(ReadBytes("shared/saved"), "old");
    EXPECT_FALSE(fs::exists("shared/saved.tmp"));
    EXPECT_EQ(errors("shared.err"), "Cannot save shared/saved: Operation not permitted\n");
}
