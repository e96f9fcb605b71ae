// Appending to the size-limited log files and rotating them (threads writing at once while files
// rotate are checked end to end under Wine).
#include "RotatingFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace Kolvane::Library;

namespace {

std::vector<std::string> FirstWords(const fs::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line.substr(0, 6));
    }
    return lines;
}

std::string NumberedLine(int n) {
    std::string line = "line " + std::to_string(n);
    line.resize(39, '.');
    return line + '\n'; // 40 bytes
}

} // namespace

TEST(RotatingFile, RotatesBeforeALineWouldPassTheLimitAndKeepsTheNewestOldFiles) {
    const fs::path folder = fs::path(::testing::TempDir()) / "kolvane-rotation" / "nested";
    fs::remove_all(folder.parent_path());
    for (int n = 0; n < 9; ++n) {
        ASSERT_TRUE(AppendLine(folder, "Zanvo", NumberedLine(n), {100, 2})); // two lines a file
    }
    EXPECT_EQ(FirstWords(folder / "Zanvo.log"), std::vector<std::string>{"line 8"});
    EXPECT_EQ(FirstWords(folder / "Zanvo.1.log"), (std::vector<std::string>{"line 6", "line 7"}));
    EXPECT_EQ(FirstWords(folder / "Zanvo.2.log"), (std::vector<std::string>{"line 4", "line 5"}));
    EXPECT_FALSE(fs::exists(folder / "Zanvo.3.log"));

    // A line longer than the limit is still written whole.
    ASSERT_TRUE(AppendLine(folder, "Long", NumberedLine(0), {10, 1}));
    ASSERT_TRUE(AppendLine(folder, "Long", NumberedLine(1), {10, 1}));
    EXPECT_EQ(FirstWords(folder / "Long.log"), std::vector<std::string>{"line 1"});
    EXPECT_EQ(FirstWords(folder / "Long.1.log"), std::vector<std::string>{"line 0"});
    fs::remove_all(folder.parent_path());
}
