#include "CommandLine.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* commandLine;
    LaunchMode expected;
};

TEST(CommandLine, SwitchAtTheEndDecidesWithAnyCaseAndPrefix) {
    const Case cases[] = {
        {R"("C:\Program Files\Zanvo\Zanvo.exe" /RegServer)", LaunchMode::RegServer},
        {R"(C:\Zanvo\Zanvo.exe /regserver)", LaunchMode::RegServer},
        {R"(C:\Zanvo\Zanvo.exe -UNREGSERVER)", LaunchMode::UnregServer},
        {R"(C:\Zanvo\Zanvo.exe -Embedding)", LaunchMode::ServerOnly},
        {R"(C:\Zanvo\Zanvo.exe /automation)", LaunchMode::ServerOnly},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, ScanCommandLine(c.commandLine)) << c.commandLine;
}

TEST(CommandLine, SwitchFollowedByAnythingIsNoSwitch) {
    const Case cases[] = {
        {R"(C:\Zanvo\Zanvo.exe /RegServer /s)", LaunchMode::Run},
        {R"(C:\Zanvo\Zanvo.exe /RegServer extra)", LaunchMode::Run},
        {R"(C:\Zanvo\Zanvo.exe /RegServer )", LaunchMode::Run},
        {R"(C:\Zanvo\Zanvo.exe RegServer)", LaunchMode::Run},
        {R"(C:\Zanvo\Zanvo.exe)", LaunchMode::Run},
        {"", LaunchMode::Run},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, ScanCommandLine(c.commandLine)) << c.commandLine;
}

TEST(CommandLine, DashesInThePathAreSkipped) {
    EXPECT_EQ(LaunchMode::UnregServer,
              ScanCommandLine(R"(C:\my-tools\zanvo-2\Zanvo.exe /UnregServer)"));
    EXPECT_EQ(LaunchMode::Run, ScanCommandLine(R"(C:\my-tools\Zanvo.exe)"));
}

TEST(CommandLine, FirstMatchingTokenWinsWhenTokensNest) {
    // "-/RegServer": the token after "-" is "/RegServer" (no keyword), the one after "/" matches.
    EXPECT_EQ(LaunchMode::RegServer, ScanCommandLine(R"(Zanvo.exe -/RegServer)"));
}

} // namespace
