#include "CommandLine.h"

#include <algorithm>
#include <cctype>

namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, {}, Lower, Lower);
}

struct Switch {
    std::string_view keyword;
    LaunchMode mode;
};

constexpr Switch kSwitches[] = {
    {"UnregServer", LaunchMode::UnregServer},
    {"RegServer", LaunchMode::RegServer},
    {"Automation", LaunchMode::ServerOnly},
    {"Embedding", LaunchMode::ServerOnly},
};

} // namespace

LaunchMode ScanCommandLine(std::string_view commandLine) {
    for (auto pos = commandLine.find_first_of("-/"); pos != std::string_view::npos;
         pos = commandLine.find_first_of("-/", pos + 1)) {
        const std::string_view token = commandLine.substr(pos + 1);
        for (const Switch& s : kSwitches) {
            if (EqualsIgnoringCase(token, s.keyword))
                return s.mode;
        }
    }
    return LaunchMode::Run;
}
