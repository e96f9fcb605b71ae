#pragma once

#include <cstdint>

// Seconds since 1970-01-01 00:00:00 UTC, in every record, request and calendar operation.
using TimeValue = std::int32_t;
