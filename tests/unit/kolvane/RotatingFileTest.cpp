// Appending to the size-limited log files and rotating them.
#include "RotatingFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace Kolvane::Library;

namespace {

std::vector<std::string> Lines(const fs::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string NumberedLine(int n) {
    std::string line = "line " + std::to_string(n);
    line.resize(39, '.');
    return line + '\n'; // 40 bytes
}

class RotatingFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::path(::testing::TempDir()) / "kolvane-rotation" / "nested";
        fs::remove_all(folder.parent_path());
    }
    void TearDown() override { fs::remove_all(folder.parent_path()); }
    fs::path folder;
};

} // namespace

TEST_F(RotatingFileTest, CreatesTheFolderAndAppendsWholeLines) {
    const RotationPolicy policy{1000, 3};
    ASSERT_TRUE(AppendLine(folder, "Zanvo", NumberedLine(0), policy));
    ASSERT_TRUE(AppendLine(folder, "Zanvo", NumberedLine(1), policy));
    EXPECT_EQ(
        Lines(folder / "Zanvo.log"),
        (std::vector<std::string>{NumberedLine(0).substr(0, 39), NumberedLine(1).substr(0, 39)}));
}

TEST_F(RotatingFileTest, RotatesBeforeALineWouldPassTheLimitAndKeepsTheNewestOldFiles) {
    const RotationPolicy policy{100, 2}; // two 40-byte lines per file
    for (int n = 0; n < 9; ++n) {
        ASSERT_TRUE(AppendLine(folder, "Zanvo", NumberedLine(n), policy));
    }
    const auto first = [](const std::vector<std::string>& lines) {
        return lines.empty() ? std::string() : lines.front().substr(0, 6);
    };
    EXPECT_EQ(Lines(folder / "Zanvo.log").size(), 1u);
    EXPECT_EQ(first(Lines(folder / "Zanvo.log")), "line 8");
    EXPECT_EQ(first(Lines(folder / "Zanvo.1.log")), "line 6");
    EXPECT_EQ(first(Lines(folder / "Zanvo.2.log")), "line 4");
    EXPECT_FALSE(fs::exists(folder / "Zanvo.3.log"));
    for (const auto& entry : fs::directory_iterator(folder)) {
        EXPECT_LE(fs::file_size(entry.path()), 100u) << entry.path();
    }
}

TEST_F(RotatingFileTest, ALineLongerThanTheLimitIsStillWrittenWhole) {
    const RotationPolicy policy{10, 1};
    ASSERT_TRUE(AppendLine(folder, "Zanvo", NumberedLine(0), policy));
    ASSERT_TRUE(AppendLine(folder, "Zanvo", NumberedLine(1), policy));
    EXPECT_EQ(Lines(folder / "Zanvo.log").size(), 1u);
    EXPECT_EQ(Lines(folder / "Zanvo.1.log").size(), 1u);
}
