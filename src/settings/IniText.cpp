#include "IniText.h"

#include <optional>
#include <vector>

namespace IniText {

namespace {

bool IsBlank(char c) {
    // 0x1A, the old end-of-file mark, counts as a blank too.
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 0x1A;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

struct Line {
    std::size_t begin = 0; // first character
    std::size_t end = 0;   // after the last character, before the line feed
    std::size_t next = 0;  // start of the next line
    bool isSection = false;
    std::string_view name; // section or key name, trimmed
    std::optional<std::string_view> value;
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        Line line;
        line.begin = begin;
        const std::size_t feed = text.find('\n', begin);
        line.end = feed == std::string_view::npos ? text.size() : feed;
        line.next = feed == std::string_view::npos ? text.size() : feed + 1;
        const std::string_view content = Trim(text.substr(begin, line.end - begin));
        const std::size_t close = content.find(']');
        if (!content.empty() && content.front() == '[' && close != std::string_view::npos) {
            line.isSection = true;
            line.name = Trim(content.substr(1, close - 1));
        } else if (const std::size_t equals = content.find('='); equals != std::string_view::npos) {
            line.name = Trim(content.substr(0, equals));
            line.value = Trim(content.substr(equals + 1));
        } else {
            line.name = content;
        }
        lines.push_back(line);
        begin = line.next;
    }
    return lines;
}

// The lines of the first section of that name: [first, last) indexes, the header excluded.
// Lines before any header form the section without a name.
std::optional<std::pair<std::size_t, std::size_t>> FindSection(const std::vector<Line>& lines,
                                                               std::string_view section) {
    std::optional<std::size_t> first;
    if (Trim(section).empty()) {
        first = 0;
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].isSection) {
            continue;
        }
        if (first) {
            return std::pair{*first, i};
        }
        if (SameName(lines[i].name, Trim(section))) {
            first = i + 1;
        }
    }
    if (first) {
        return std::pair{*first, lines.size()};
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<Line>& lines,
                                   std::pair<std::size_t, std::size_t> range,
                                   std::string_view key) {
    for (std::size_t i = range.first; i < range.second; ++i) {
        if (SameName(lines[i].name, Trim(key))) {
            return i;
        }
    }
    return std::nullopt;
}

std::string_view LineEnd(std::string_view text) {
    const std::size_t feed = text.find('\n');
    return feed != std::string_view::npos && (feed == 0 || text[feed - 1] != '\r') ? "\n" : "\r\n";
}

} // namespace

std::string FindValue(std::string_view text, std::string_view section, std::string_view key) {
    const std::vector<Line> lines = SplitLines(text);
    const auto range = FindSection(lines, section);
    const auto index = range ? FindKey(lines, *range, key) : std::nullopt;
    if (!index || !lines[*index].value) {
        return {};
    }
    std::string_view value = *lines[*index].value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

std::string SetValue(std::string_view text, std::string_view section, std::string_view key,
                     std::string_view value) {
    const std::vector<Line> lines = SplitLines(text);
    const std::string_view lineEnd = LineEnd(text);
    std::string result(text);
    const auto range = FindSection(lines, section);
    if (!range) {
        if (!result.empty() && result.back() != '\n') {
            result += lineEnd;
        }
        result.append("[").append(Trim(section)).append("]").append(lineEnd);
        result.append(Trim(key)).append("=").append(value).append(lineEnd);
        return result;
    }
    if (const auto index = FindKey(lines, *range, key)) {
        const Line& line = lines[*index];
        std::string replacement = std::string(line.name) + "=" + std::string(value);
        // Keep the CR of a CR LF line end.
        const bool carriageReturn = line.end > line.begin && text[line.end - 1] == '\r';
        result.replace(line.begin, line.end - line.begin - (carriageReturn ? 1 : 0), replacement);
        return result;
    }
    // After the section's last non-blank line, so blank lines before the next header stay there.
    std::size_t after = range->first; // index of the line the new one goes before
    for (std::size_t i = range->first; i < range->second; ++i) {
        if (!lines[i].name.empty() || lines[i].value) {
            after = i + 1;
        }
    }
    const std::string newLine = std::string(Trim(key)) + "=" + std::string(value);
    if (after == 0) {
        return newLine + std::string(lineEnd) + result;
    }
    const Line& previous = lines[after - 1];
    if (previous.next == previous.end) { // the last line, without a line feed
        return result + std::string(lineEnd) + newLine;
    }
    return result.insert(previous.next, newLine + std::string(lineEnd));
}

std::int32_t ParseInteger(std::string_view value, std::int32_t defaultValue) {
    value = Trim(value);
    if (value.empty()) {
        return defaultValue;
    }
    bool negative = false;
    if (value.front() == '-' || value.front() == '+') {
        negative = value.front() == '-';
        value.remove_prefix(1);
    }
    unsigned base = 10;
    if (value.size() >= 2 && value[0] == '0') {
        switch (Lower(value[1])) {
        case 'x':
            base = 16;
            break;
        case 'o':
            base = 8;
            break;
        case 'b':
            base = 2;
            break;
        default:
            break;
        }
        if (base != 10) {
            value.remove_prefix(2);
        }
    }
    std::uint32_t result = 0;
    for (const char c : value) {
        const char lower = Lower(c);
        const unsigned digit = c >= '0' && c <= '9' ? static_cast<unsigned>(c - '0')
                               : lower >= 'a' && lower <= 'z'
                                   ? static_cast<unsigned>(lower - 'a' + 10)
                                   : base;
        if (digit >= base) {
            break;
        }
        result = result * base + digit;
    }
    return static_cast<std::int32_t>(negative ? 0u - result : result);
}

} // namespace IniText
