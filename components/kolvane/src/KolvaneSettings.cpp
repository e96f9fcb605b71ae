#include "KolvaneSettings.h"

#include "KolvanePlatform.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace Kolvane::Library {

namespace {

std::string Trimmed(const std::string& text) {
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
    return first < last ? std::string(first, last) : std::string();
}

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

} // namespace

std::optional<std::int32_t> ParseAssertAnswer(const std::string& text) {
    const std::string word = Lower(Trimmed(text));
    if (word == "continue") {
        return 0;
    }
    if (word == "break") {
        return 1;
    }
    if (word == "end") {
        return 2;
    }
    return std::nullopt;
}

std::uintmax_t ParseMaxLogBytes(const std::string& text) {
    const std::string digits = Trimmed(text);
    if (digits.empty() || digits.size() > 18 ||
        !std::all_of(digits.begin(), digits.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; })) {
        return kDefaultMaxLogBytes;
    }
    const std::uintmax_t value = std::stoull(digits);
    return value > 0 ? value : kDefaultMaxLogBytes;
}

std::optional<std::string> IniValue(const std::string& iniText, const std::string& section,
                                    const std::string& key) {
    std::istringstream in(iniText);
    std::string raw;
    bool inSection = false;
    while (std::getline(in, raw)) {
        const std::string line = Trimmed(raw);
        if (line.empty() || line[0] == ';' || line[0] == '#') {
            continue;
        }
        if (line.front() == '[' && line.back() == ']') {
            inSection = Lower(Trimmed(line.substr(1, line.size() - 2))) == Lower(section);
            continue;
        }
        const auto equals = line.find('=');
        if (inSection && equals != std::string::npos &&
            Lower(Trimmed(line.substr(0, equals))) == Lower(key)) {
            return Trimmed(line.substr(equals + 1));
        }
    }
    return std::nullopt;
}

std::int32_t ConfiguredAssertAnswer() {
    if (const std::string fromEnvironment = Platform::EnvironmentText("KOLVANE_ASSERT");
        !Trimmed(fromEnvironment).empty()) {
        return ParseAssertAnswer(fromEnvironment).value_or(0);
    }
    const std::filesystem::path folder = Platform::LibraryFolder();
    std::ifstream ini;
    if (!folder.empty()) {
        ini.open(folder / "kolvane.ini", std::ios::binary);
    }
    if (ini.is_open()) {
        std::ostringstream text;
        text << ini.rdbuf();
        if (const auto value = IniValue(text.str(), "Assertions", "Answer")) {
            return ParseAssertAnswer(*value).value_or(0);
        }
    }
    return 0;
}

std::uintmax_t ConfiguredMaxLogBytes() {
    return ParseMaxLogBytes(Platform::EnvironmentText("KOLVANE_LOG_MAX_BYTES"));
}

} // namespace Kolvane::Library
