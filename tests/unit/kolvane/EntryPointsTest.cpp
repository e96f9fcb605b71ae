// kolvane's exported calls, called the way a program calls them.
#include "kolvane/KolvaneApi.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

extern "C" {
std::int64_t DefineLog(const char16_t*, std::int32_t);
void WriteToLog(std::int64_t, const char16_t*, const void*, const char16_t*, const char16_t*,
                std::int32_t, const char16_t*);
std::int32_t GenerateAssert(const char16_t*, const char16_t*, std::int32_t, const char16_t*,
                            const char16_t*);
}

namespace {

class EntryPointsTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::path(::testing::TempDir()) / "kolvane-entry-points";
        fs::remove_all(folder);
        ::setenv("KOLVANE_LOG_DIR", folder.c_str(), 1);
        ::unsetenv("KOLVANE_ASSERT");
    }
    void TearDown() override {
        ::unsetenv("KOLVANE_LOG_DIR");
        ::unsetenv("KOLVANE_ASSERT");
        fs::remove_all(folder);
    }
    std::vector<std::string> Lines(const std::string& file) const {
        std::vector<std::string> lines;
        std::ifstream in(folder / file);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }
    fs::path folder;
};

} // namespace

TEST_F(EntryPointsTest, NullArgumentsWriteALineAndReportAnAssertion) {
    const std::int64_t id = DefineLog(nullptr, 237);
    WriteToLog(id, nullptr, nullptr, nullptr, nullptr, 0, nullptr);
    EXPECT_EQ(GenerateAssert(nullptr, nullptr, 0, nullptr, nullptr), 0);

    const auto lines = Lines("undefined.log");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].ends_with("\t(0)\t\t0x0000000000000000\t")) << lines[0];
    EXPECT_EQ(Lines("asserts.log").size(), 1u);
}

TEST_F(EntryPointsTest, OneFilePerLogName) {
    WriteToLog(1, u"Zanvo.exe", nullptr, u"a.cpp", u"A::F", 3, u"to zanvo\n");
    WriteToLog(2, u"zanvo-dde.exe", nullptr, u"b.cpp", u"B::G", 4, u"to the client");

    ASSERT_EQ(Lines("Zanvo.log").size(), 1u);
    EXPECT_TRUE(Lines("Zanvo.log")[0].ends_with("\ta.cpp(3)\tA::F\t0x0000000000000000\tto zanvo"));
    ASSERT_EQ(Lines("zanvo-dde.log").size(), 1u);
}
