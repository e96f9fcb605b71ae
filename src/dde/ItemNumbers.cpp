#include "ItemNumbers.h"

#include "DataRequests.h"

#include <limits>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool EqualsNoCase(std::string_view text, char upper) {
    return text.size() == 1 && (text[0] == upper || text[0] == upper - 'A' + 'a');
}

} // namespace

std::int32_t ParseDecimal(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    // Accumulated as a magnitude that stops growing once past the 32-bit range.
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        if (magnitude <= limit) {
            magnitude = magnitude * 10 + (text[at] - '0');
        }
        ++at;
    }
    if (negative) {
        return magnitude >= limit ? std::numeric_limits<std::int32_t>::min()
                                  : static_cast<std::int32_t>(-magnitude);
    }
    return magnitude >= limit ? std::numeric_limits<std::int32_t>::max()
                              : static_cast<std::int32_t>(magnitude);
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
