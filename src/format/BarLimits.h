// How many bars one request may ask for: as many rows as a spreadsheet client can sensibly hold.
// A larger count is refused, so that no request can hang the program or exhaust its memory.
#pragma once

#include <cstdint>

inline constexpr std::int32_t kMaxBarCount = 100000;
