// The About box's version line, from the program file's product version and its build date.
#pragma once

#include <cstdint>
#include <string>

// "Version: 2.0  Build: 1663  Date: Jul 21 2009" for product version 2.0.1663.x: the major and
// minor numbers from the most significant half, the build from the high word of the least
// significant half; the last number is not shown.
std::string FormatVersionLine(std::uint32_t productVersionMS, std::uint32_t productVersionLS,
                              const char* buildDate);
