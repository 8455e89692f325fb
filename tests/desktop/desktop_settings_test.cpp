#include "desktop/desktop_settings.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using DesktopSettingsFile = TempDirTest;

// Loads with standard error captured; returns the settings and what was said.
DesktopSettings LoadQuietly(const std::string& path, std::string* said) {
    testing::internal::CaptureStderr();
    DesktopSettings settings = LoadDesktopSettings(path);
    *said = testing::internal::GetCapturedStderr();
    return settings;
}

int Lines(const std::string& text) {
    int lines = 0;
    for (char c : text) lines += c == '\n';
    return lines;
}

} // namespace

TEST_F(DesktopSettingsFile, RoundTripThroughNewFolders) {
    std::string path = (dir_ / "config/skitterbat/settings.ini").string();
    std::string said;
    EXPECT_FALSE(LoadQuietly(path, &said).fullscreen);
    EXPECT_EQ(said, "") << "a missing file is the normal first run";

    for (bool fullscreen : {true, false, true}) {
        ASSERT_TRUE(SaveDesktopSettings(path, DesktopSettings{fullscreen}));
        EXPECT_EQ(LoadQuietly(path, &said).fullscreen, fullscreen);
        EXPECT_EQ(said, "");
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_ / "config/skitterbat"), {}), 1)
        << "no temporary file left beside the settings";

    // Saved through the atomic writer: what a killed save left behind goes,
    // and a private file stays private.
    namespace fs = std::filesystem;
    WriteBytes(path + ".tmp", "[window]\nfull");
    fs::permissions(path + ".tmp", fs::perms::owner_read);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(SaveDesktopSettings(path, DesktopSettings{false}));
    EXPECT_FALSE(fs::exists(path + ".tmp"));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    // A settings file linked from elsewhere stays a link; its target is saved.
    std::filesystem::create_directories(dir_ / "dotfiles");
    std::filesystem::remove(path);
    std::filesystem::create_symlink("../../dotfiles/settings.ini", path);
    ASSERT_TRUE(SaveDesktopSettings(path, DesktopSettings{true}));
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_TRUE(LoadQuietly((dir_ / "dotfiles/settings.ini").string(), &said).fullscreen);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_ / "dotfiles"), {}), 1);

    // What a person might write by hand, and what a newer version might add.
    DesktopSettings settings;
    std::string reason;
    ASSERT_TRUE(ParseDesktopSettings("; mine\r\n\r\n[sound]\nvolume=3\n[ window ]\r\n  FullScreen=1\n"
                                     "fullscreen =  Yes \r\nwidth = 800\n",
                                     &settings, &reason))
        << reason;
    EXPECT_TRUE(settings.fullscreen);
}

TEST_F(DesktopSettingsFile, DamagedOrUnreadableIsIgnoredWithOneLineAndRewritten) {
    std::string path = (dir_ / "settings.ini").string();
    using namespace std::string_literals;
    const std::string damaged[] = {
        "[window]\nfullscreen = maybe\n",
        "[window\nfullscreen = true\n",
        "fullscreen = true\n",
        "[window]\nfullscreen true\n",
        "[window]\n= true\n",
        "[window]\nfullscreen = true\0\n"s,
        "\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR"s,
    };
    for (const std::string& text : damaged) {
        WriteBytes(path, text);
        std::string said;
        EXPECT_FALSE(LoadQuietly(path, &said).fullscreen) << text;
        EXPECT_EQ(Lines(said), 1) << said;
        EXPECT_NE(said.find(path), std::string::npos) << said;
    }
    WriteBytes(path, "[window]\nfullscreen = true\n" + std::string(70 * 1024, '#'));
    std::string said;
    EXPECT_FALSE(LoadQuietly(path, &said).fullscreen);
    EXPECT_EQ(Lines(said), 1) << said;

    ASSERT_TRUE(SaveDesktopSettings(path, DesktopSettings{true}));
    EXPECT_TRUE(LoadQuietly(path, &said).fullscreen);
    EXPECT_EQ(said, "");

    // A folder where the file should be can be neither read nor replaced.
    std::string folder = (dir_ / "folder.ini").string();
    std::filesystem::create_directory(folder);
    EXPECT_FALSE(LoadQuietly(folder, &said).fullscreen);
    EXPECT_EQ(Lines(said), 1) << said;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveDesktopSettings(folder, DesktopSettings{true}));
    EXPECT_EQ(Lines(testing::internal::GetCapturedStderr()), 1);
}
