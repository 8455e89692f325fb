// The generator itself: two runs give the same bytes (and the same files as
// the build's data folder), a folder it cannot write is an error, and the
// build leaves a contact sheet.
#include <gtest/gtest.h>

#include <stb_image.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {

struct TempDir {
    fs::path path;
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "assets-test-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

int RunGenerator(const std::string& args) {
    std::string command = std::string("'") + SKITTERBAT_GENERATOR + "' " + args + " 2>/dev/null";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::map<std::string, std::string> ReadTree(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[fs::relative(entry.path(), root).string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

TEST(Generator, TwoRunsWriteTheSameBytes) {
    TempDir a, b;
    ASSERT_EQ(RunGenerator("'" + (a.path / "data").string() + "'"), 0);
    ASSERT_EQ(RunGenerator("'" + (b.path / "data").string() + "'"), 0);
    auto first = ReadTree(a.path / "data"), second = ReadTree(b.path / "data");
    ASSERT_GT(first.size(), 60u);
    ASSERT_EQ(first.size(), second.size());
    for (const auto& [name, bytes] : first) {
        auto other = second.find(name);
        ASSERT_NE(other, second.end()) << name;
        EXPECT_TRUE(bytes == other->second) << name << " differs between runs";
    }
    // The build's data folder holds the same files.
    auto built = ReadTree(SKITTERBAT_DATA_DIR);
    for (const auto& [name, bytes] : first)
        EXPECT_EQ(built.count(name), 1u) << name << " missing from the build";
}

TEST(Generator, ReportsWhatItCannotWrite) {
    TempDir t;
    std::ofstream(t.path / "blocker") << "a file where a folder should be";
    EXPECT_NE(RunGenerator("'" + (t.path / "blocker" / "data").string() + "'"), 0);
    EXPECT_NE(RunGenerator(""), 0) << "no output folder given";
}

TEST(Generator, BuildLeavesAContactSheet) {
    int w = 0, h = 0, n = 0;
    ASSERT_TRUE(stbi_info(SKITTERBAT_PREVIEW, &w, &h, &n)) << SKITTERBAT_PREVIEW;
    EXPECT_GE(w, 1024);
    EXPECT_GE(h, 1024);
}

} // namespace
