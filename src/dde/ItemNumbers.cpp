#include "ItemNumbers.h"

#include "DataRequests.h"

#include <algorithm>
#include <limits>

namespace {

bool EqualsNoCase(std::string_view text, char upper) {
    return text.size() == 1 && (text[0] == upper || text[0] == upper - 'A' + 'a');
}

} // namespace

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool ReadDecimal(std::string_view text, std::size_t& at, std::int32_t& value) {
    std::size_t pos = at;
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (pos >= text.size() || text[pos] < '0' || text[pos] > '9') {
        return false;
    }
    // Accumulated as a magnitude that stops growing once past the 32-bit range.
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        magnitude = std::min(magnitude * 10 + (text[pos] - '0'), limit);
        ++pos;
    }
    if (negative) {
        value = static_cast<std::int32_t>(-magnitude);
    } else {
        value = static_cast<std::int32_t>(std::min(magnitude, limit - 1));
    }
    at = pos;
    return true;
}

std::int32_t ParseDecimal(std::string_view text) {
    std::size_t at = 0;
    std::int32_t value = 0;
    return ReadDecimal(text, at, value) ? value : 0;
}

std::int32_t ParseInterval(std::string_view parameter) {
    if (EqualsNoCase(parameter, 'Q')) {
        return biQuarterly;
    }
    if (EqualsNoCase(parameter, 'M')) {
        return biMonthly;
    }
    if (EqualsNoCase(parameter, 'W')) {
        return biWeekly;
    }
    if (EqualsNoCase(parameter, 'D')) {
        return biDaily;
    }
    const std::int32_t minutes = ParseDecimal(parameter);
    return minutes >= 1 && minutes <= 1439 ? minutes : 0;
}
