#include "VersionLine.h"

#include <cstdio>

std::string FormatVersionLine(std::uint32_t productVersionMS, std::uint32_t productVersionLS,
                              const char* buildDate) {
    char line[128];
    std::snprintf(line, sizeof(line), "Version: %i.%i  Build: %i  Date: %s",
                  static_cast<int>(productVersionMS >> 16),
                  static_cast<int>(productVersionMS & 0xFFFF),
                  static_cast<int>(productVersionLS >> 16), buildDate);
    return line;
}
