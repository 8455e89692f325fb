#include "host/state_file.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

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

    // The temporary file cannot be created.
    std::filesystem::create_directory(".cobaltstate.tmp");
    EXPECT_EQ(WriteStateFile(".cobaltstate", String("new state")), -1);
    EXPECT_EQ(ReadBytes(".cobaltstate"), old);
    EXPECT_TRUE(std::filesystem::is_directory(".cobaltstate.tmp"));
    std::filesystem::remove(".cobaltstate.tmp");

    // The disk fills up part-way through the text.
    EXPECT_EQ(SaveWithFileSizeLimit(String(std::string(100, 'x')), 10), -2);
    EXPECT_EQ(ReadBytes(".cobaltstate"), old);
    EXPECT_FALSE(std::filesystem::exists(".cobaltstate.tmp"));

    // The same limit lets a short text through.
    EXPECT_EQ(SaveWithFileSizeLimit(String("1|2"), 10), 0);
    EXPECT_EQ(ReadBytes(".cobaltstate"), "1|2");

    // The target cannot be replaced (it is a folder): reported, temporary removed.
    std::filesystem::remove(".cobaltstate");
    std::filesystem::create_directories(".cobaltstate/keep");
    EXPECT_EQ(WriteStateFile(".cobaltstate", String("x")), -2);
    EXPECT_TRUE(std::filesystem::is_directory(".cobaltstate/keep"));
    EXPECT_FALSE(std::filesystem::exists(".cobaltstate.tmp"));
    EXPECT_EQ(ReadStateFile(".cobaltstate"), String());
}
