// Numbers in item parameters, read as the runtime's text-to-integer conversion reads them, but
// without its undefined behaviour: values beyond the 32-bit range saturate.
#pragma once

#include <cstdint>
#include <string_view>

// Optional leading white space and sign, then the digits up to the first other character; 0 when
// there are none.
std::int32_t ParseDecimal(std::string_view text);

// "D", "W", "M", "Q" (any case) give the calendar intervals; otherwise a number of minutes, kept
// when it is 1 to 1439 and 0 (which the supplier refuses) otherwise.
std::int32_t ParseInterval(std::string_view parameter);
