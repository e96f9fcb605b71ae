// Numbers in item parameters, read as the runtime's text-to-integer conversion reads them, but
// without its undefined behaviour: values beyond the 32-bit range saturate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// White space as the runtime's conversions skip it.
bool IsBlank(char c);

// One number as the runtime's scanner reads "%d" from position at: white space, an optional sign,
// then at least one digit; at moves past what was read. False, with value untouched, when no digit
// follows.
bool ReadDecimal(std::string_view text, std::size_t& at, std::int32_t& value);

// Optional leading white space and sign, then the digits up to the first other character; 0 when
// there are none.
std::int32_t ParseDecimal(std::string_view text);

// "D", "W", "M", "Q" (any case) give the calendar intervals; otherwise a number of minutes, kept
// when it is 1 to 1439 and 0 (which the supplier refuses) otherwise.
std::int32_t ParseInterval(std::string_view parameter);
