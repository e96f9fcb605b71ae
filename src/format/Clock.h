// The program's one source of "now", so that bar grids and session windows can be tested at
// fixed dates.
#pragma once

#include <cstdint>
#include <optional>

namespace Clock {

// Seconds since 1970-01-01 00:00:00 UTC.
std::int32_t Now();

// Fixes the clock at a time (tests); std::nullopt returns to the system clock.
void SetFixed(std::optional<std::int32_t> now);

} // namespace Clock
