// The state file's text through the atomic writer: UTF-8 without a mark out,
// marks honoured in, and the writer's rules (here: the mode kept) in force.
#include "runtime/state_file.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using StateFile = TempDirTest;

String Units(std::initializer_list<char16_t> units) {
    return String(std::u16string(units));
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
