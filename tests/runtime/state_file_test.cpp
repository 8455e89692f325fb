#include "runtime/state_file.h"
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

using StateFile = TempDirTest;

String Units(std::initializer_list<char16_t> units) {
    return String(std::u16string(units));
}

// Saves in a child process whose files may not grow past `limit` bytes, as on
// a full disk; returns the save's status.
int SaveWithFileSizeLimit(const String& state, rlim_t limit) {
    pid_t pid = fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit cap{limit, limit};
        setrlimit(RLIMIT_FSIZE, &cap);
        _exit(WriteStateFile(".cobaltstate", state) & 0xFF);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? static_cast<signed char>(WEXITSTATUS(status)) : 99;
}

} // namespace

TEST_F(StateFile, RoundTripsUtf8WithoutMark) {
    EXPECT_EQ(ReadStateFile(".cobaltstate"), String()); // none yet
    EXPECT_EQ(WriteStateFile(".cobaltstate", Units({0x00E9})), 0);
    EXPECT_EQ(ReadBytes(".cobaltstate"), "\xC3\xA9");
    EXPECT_EQ(ReadStateFile(".cobaltstate"), Units({0x00E9}));

    EXPECT_EQ(WriteStateFile(".cobaltstate", Units({0x20AC, u'|', u'7'})), 0);
    EXPECT_EQ(ReadBytes(".cobaltstate"), "\xE2\x82\xAC|7");
    EXPECT_EQ(ReadStateFile(".cobaltstate"), Units({0x20AC, u'|', u'7'}));

    EXPECT_EQ(WriteStateFile(".cobaltstate", String()), 0);
    EXPECT_TRUE(std::filesystem::exists(".cobaltstate"));
    EXPECT_EQ(std::filesystem::file_size(".cobaltstate"), 0u);
    EXPECT_EQ(ReadStateFile(".cobaltstate"), String());
    EXPECT_FALSE(std::filesystem::exists(".cobaltstate.tmp"));

    // A private file stays private.
    std::filesystem::permissions(".cobaltstate",
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(WriteStateFile(".cobaltstate", String("1")), 0);
    EXPECT_EQ(std::filesystem::status(".cobaltstate").permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    WriteBytes(".cobaltstate", "\xEF\xBB\xBF"
                               "1|2");
    EXPECT_EQ(ReadStateFile(".cobaltstate"), String("1|2"));
}

TEST_F(StateFile, FailedSavesLeaveTheOldFileAsItWas) {
    const std::string old = "4|8|15|16|23|42";
    WriteBytes(".cobaltstate", old);

    // The disk fills up part-way through the text.
    EXPECT_EQ(SaveWithFileSizeLimit(String(std::string(100, 'x')), 10), -2);
    EXPECT_EQ(ReadBytes(".cobaltstate"), old);
    EXPECT_FALSE(std::filesystem::exists(".cobaltstate.tmp"));

    // The same limit lets a short text through.
    EXPECT_EQ(SaveWithFileSizeLimit(String("1|2"), 10), 0);
    EXPECT_EQ(ReadBytes(".cobaltstate"), "1|2");

    // A folder in its place cannot be written, and is not replaced either.
    std::filesystem::remove(".cobaltstate");
    std::filesystem::create_directories(".cobaltstate/keep");
    EXPECT_EQ(WriteStateFile(".cobaltstate", String("x")), -1);
    EXPECT_TRUE(std::filesystem::is_directory(".cobaltstate/keep"));
    EXPECT_FALSE(std::filesystem::exists(".cobaltstate.tmp"));
    EXPECT_EQ(ReadStateFile(".cobaltstate"), String());
}

TEST_F(StateFile, LinksKeepPointingAtTheSavedState) {
    namespace fs = std::filesystem;
    // A relative link to a relative link to the real file, in another folder.
    WriteBytes("real/state", "old");
    fs::create_symlink("state", "real/hop");
    fs::create_symlink("real/hop", ".cobaltstate");
    EXPECT_EQ(WriteStateFile(".cobaltstate", String("new")), 0);
    EXPECT_TRUE(fs::is_symlink(".cobaltstate"));
    EXPECT_TRUE(fs::is_symlink("real/hop"));
    EXPECT_EQ(ReadBytes("real/state"), "new");
    EXPECT_FALSE(fs::exists("real/state.tmp"));
    EXPECT_FALSE(fs::exists(".cobaltstate.tmp"));

    // A dangling link gets its target created.
    fs::remove("real/state");
    EXPECT_EQ(WriteStateFile(".cobaltstate", String("first")), 0);
    EXPECT_TRUE(fs::is_symlink(".cobaltstate"));
    EXPECT_EQ(ReadBytes("real/state"), "first");

    // Hard links are written in place, so every name sees the new state.
    fs::remove(".cobaltstate");
    fs::create_hard_link("real/state", ".cobaltstate");
    EXPECT_EQ(WriteStateFile(".cobaltstate", String("shared")), 0);
    EXPECT_EQ(ReadBytes("real/state"), "shared");
    EXPECT_TRUE(fs::equivalent("real/state", ".cobaltstate"));

    // A temporary file left by a killed save is never written through, even
    // when it is a link, and goes away.
    fs::remove(".cobaltstate");
    WriteBytes("victim", "keep me");
    fs::create_symlink("victim", ".cobaltstate.tmp");
    EXPECT_EQ(WriteStateFile(".cobaltstate", String("after")), 0);
    EXPECT_EQ(ReadBytes(".cobaltstate"), "after");
    EXPECT_EQ(ReadBytes("victim"), "keep me");
    EXPECT_FALSE(fs::exists(fs::symlink_status(".cobaltstate.tmp")));

    // A link loop is reported, not replaced.
    fs::remove(".cobaltstate");
    fs::create_symlink(".cobaltstate", ".cobaltstate");
    EXPECT_EQ(WriteStateFile(".cobaltstate", String("x")), -1);
    EXPECT_TRUE(fs::is_symlink(".cobaltstate"));

    // Where no temporary file can be made, the file is written in place.
    fs::remove(".cobaltstate");
    WriteBytes(".cobaltstate", "old");
    fs::create_directory(".cobaltstate.tmp");
    EXPECT_EQ(WriteStateFile(".cobaltstate", String("in place")), 0);
    EXPECT_EQ(ReadBytes(".cobaltstate"), "in place");
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
        _exit(WriteStateFile(path.c_str(), String(text)) & 0xFF);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? static_cast<signed char>(WEXITSTATUS(status)) : 98;
}

} // namespace

TEST_F(StateFile, PermissionsDecideAsForAPlainWrite) {
    namespace fs = std::filesystem;
    const bool root = geteuid() == 0;
    const uid_t player = root ? kPlayer : geteuid();
    const gid_t group = root ? kPlayer : getegid();
    fs::permissions(".", fs::perms::all);
    auto prepare = [&](const std::string& folder, const std::string& content, fs::perms mode) {
        WriteBytes(folder + "/.cobaltstate", content);
        ASSERT_EQ(chown(folder.c_str(), player, group), 0);
        ASSERT_EQ(chown((folder + "/.cobaltstate").c_str(), player, group), 0);
        fs::permissions(folder + "/.cobaltstate", mode);
    };
    auto errors = [&](const std::string& name) {
        std::string text = ReadBytes(name);
        return std::count(text.begin(), text.end(), '\n') == 1 ? text : "not one line: " + text;
    };

    // A write-protected file is left alone.
    prepare("own", "old", fs::perms::owner_read);
    int status = SaveAsPlayer("own/.cobaltstate", "new", "own.err");
    if (status == 99) GTEST_SKIP() << "cannot drop root privileges to user " << kPlayer;
    EXPECT_EQ(status, -1);
    EXPECT_EQ(ReadBytes("own/.cobaltstate"), "old");
    EXPECT_FALSE(fs::exists("own/.cobaltstate.tmp"));
    EXPECT_EQ(errors("own.err"), "Cannot save own/.cobaltstate: Permission denied\n");

    // A writable file in a folder that takes no new file is written in place.
    prepare("locked", "old", fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions("locked", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                  fs::perms::others_exec);
    EXPECT_EQ(SaveAsPlayer("locked/.cobaltstate", "new", "locked.err"), 0);
    EXPECT_EQ(ReadBytes("locked/.cobaltstate"), "new");
    EXPECT_EQ(ReadBytes("locked.err"), "");
    EXPECT_EQ(SaveAsPlayer("locked/.missing", "new", "missing.err"), -1);
    EXPECT_EQ(errors("missing.err"), "Cannot save locked/.missing: Permission denied\n");
    fs::permissions("locked", fs::perms::owner_all);

    // In a shared sticky folder a file of someone else's cannot be replaced:
    // the rename fails and the old file stays whole.
    if (!root) GTEST_SKIP() << "a file owned by another user needs root to set up";
    fs::create_directory("shared");
    fs::permissions("shared", fs::perms::all | fs::perms::sticky_bit);
    WriteBytes("shared/.cobaltstate", "old");
    fs::permissions("shared/.cobaltstate", fs::perms::all & ~(fs::perms::owner_exec | fs::perms::group_exec |
                                                              fs::perms::others_exec));
    EXPECT_EQ(SaveAsPlayer("shared/.cobaltstate", "new", "shared.err"), -2);
    EXPECT_EQ(ReadBytes("shared/.cobaltstate"), "old");
    EXPECT_FALSE(fs::exists("shared/.cobaltstate.tmp"));
    EXPECT_EQ(errors("shared.err"), "Cannot save shared/.cobaltstate: Operation not permitted\n");
}
