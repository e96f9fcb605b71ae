#include "CommandLine.h"

#include <gtest/gtest.h>

namespace {

// The switch at the end decides, in any letter case and with either prefix; a switch followed by
// anything is no switch.
TEST(CommandLine, SwitchAtTheEndDecides) {
    const std::pair<const char*, LaunchMode> cases[] = {
        {R"("C:\Program Files\Zanvo\Zanvo.exe" /RegServer)", LaunchMode::RegServer},
        {R"(C:\Zanvo\Zanvo.exe /regserver)", LaunchMode::RegServer},
        {R"(C:\Zanvo\Zanvo.exe -UNREGSERVER)", LaunchMode::UnregServer},
        {R"(C:\Zanvo\Zanvo.exe -Embedding)", LaunchMode::ServerOnly},
        {R"(C:\Zanvo\Zanvo.exe /automation)", LaunchMode::ServerOnly},
        {R"(C:\Zanvo\Zanvo.exe /RegServer /s)", LaunchMode::Run},
        {R"(C:\Zanvo\Zanvo.exe /RegServer extra)", LaunchMode::Run},
        {R"(C:\Zanvo\Zanvo.exe /RegServer )", LaunchMode::Run},
        {R"(C:\Zanvo\Zanvo.exe RegServer)", LaunchMode::Run},
        {"", LaunchMode::Run},
        // Dashes in the path are skipped.
        {R"(C:\my-tools\zanvo-2\Zanvo.exe /UnregServer)", LaunchMode::UnregServer},
        {R"(C:\my-tools\Zanvo.exe)", LaunchMode::Run},
        // After "-" the token is "/RegServer" (no keyword); the one after "/" matches.
        {R"(Zanvo.exe -/RegServer)", LaunchMode::RegServer},
    };
    for (const auto& [commandLine, expected] : cases) {
        EXPECT_EQ(expected, ScanCommandLine(commandLine)) << commandLine;
    }
}

} // namespace
