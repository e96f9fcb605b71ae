// kolvane's exported calls with null arguments, as a careless program might call them.
#include "kolvane/KolvaneApi.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

extern "C" {
std::int64_t DefineLog(const char16_t*, std::int32_t);
void WriteToLog(std::int64_t, const char16_t*, const void*, const char16_t*, const char16_t*,
                std::int32_t, const char16_t*);
std::int32_t GenerateAssert(const char16_t*, const char16_t*, std::int32_t, const char16_t*,
                            const char16_t*);
}

TEST(EntryPoints, NullArgumentsWriteALineAndReportAnAssertion) {
    const std::filesystem::path folder =
        std::filesystem::path(::testing::TempDir()) / "kolvane-entry-points";
    std::filesystem::remove_all(folder);
    ::setenv("KOLVANE_LOG_DIR", folder.c_str(), 1);
    ::unsetenv("KOLVANE_ASSERT");
    WriteToLog(DefineLog(nullptr, 237), nullptr, nullptr, nullptr, nullptr, 0, nullptr);
    EXPECT_EQ(GenerateAssert(nullptr, nullptr, 0, nullptr, nullptr), 0);
    std::ifstream log(folder / "undefined.log");
    std::string line, more;
    ASSERT_TRUE(std::getline(log, line));
    EXPECT_TRUE(line.ends_with("\t(0)\t\t0x0000000000000000\t")) << line;
    EXPECT_FALSE(std::getline(log, more));
    std::ifstream asserts(folder / "asserts.log");
    EXPECT_TRUE(std::getline(asserts, line));
    ::unsetenv("KOLVANE_LOG_DIR");
    std::filesystem::remove_all(folder);
}
