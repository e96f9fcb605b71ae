// kolvane's settings: the assertion answer, the size limit, and where each comes from.
#include "KolvaneSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace Kolvane::Library;

TEST(Settings, AssertAnswerWords) {
    EXPECT_EQ(ParseAssertAnswer("continue"), 0);
    EXPECT_EQ(ParseAssertAnswer(" BREAK "), 1);
    EXPECT_EQ(ParseAssertAnswer("End"), 2);
    EXPECT_EQ(ParseAssertAnswer("stop"), std::nullopt);
    EXPECT_EQ(ParseAssertAnswer(""), std::nullopt);
}

TEST(Settings, MaxLogBytesFallsBackToFiveMegabytes) {
    EXPECT_EQ(ParseMaxLogBytes("1000"), 1000u);
    EXPECT_EQ(ParseMaxLogBytes(" 250 "), 250u);
    EXPECT_EQ(kDefaultMaxLogBytes, 5u * 1024 * 1024);
    for (const char* bad : {"", "0", "-5", "12k", "99999999999999999999999"}) {
        EXPECT_EQ(ParseMaxLogBytes(bad), kDefaultMaxLogBytes) << bad;
    }
}

TEST(Settings, IniValueFindsTheKeyInItsSectionOnly) {
    const std::string ini = "; comment\n"
                            "[Other]\nAnswer=break\n"
                            "[ assertions ]\r\n# Answer=continue\r\n  answer = End  \r\n";
    EXPECT_EQ(IniValue(ini, "Assertions", "Answer"), "End");
    EXPECT_EQ(IniValue(ini, "Other", "Answer"), "break");
    EXPECT_EQ(IniValue(ini, "Assertions", "Missing"), std::nullopt);
    EXPECT_EQ(IniValue("Answer=end\n", "Assertions", "Answer"), std::nullopt);
}

// kolvane.ini lies beside the library, here the test program that holds kolvane's code.
TEST(Settings, EnvironmentWinsOverKolvaneIniAndContinueIsTheDefault) {
    const fs::path ini = fs::read_symlink("/proc/self/exe").parent_path() / "kolvane.ini";
    ::unsetenv("KOLVANE_ASSERT");
    fs::remove(ini);
    EXPECT_EQ(ConfiguredAssertAnswer(), 0);

    std::ofstream(ini) << "[Assertions]\nAnswer=end\n";
    EXPECT_EQ(ConfiguredAssertAnswer(), 2);
    ::setenv("KOLVANE_ASSERT", "break", 1);
    EXPECT_EQ(ConfiguredAssertAnswer(), 1);
    ::setenv("KOLVANE_ASSERT", "nonsense", 1);
    EXPECT_EQ(ConfiguredAssertAnswer(), 0);
    ::setenv("KOLVANE_ASSERT", " ", 1);
    EXPECT_EQ(ConfiguredAssertAnswer(), 2);

    ::unsetenv("KOLVANE_ASSERT");
    fs::remove(ini);
}
