#include "CommandLine.h"

#include <cctype>

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
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
