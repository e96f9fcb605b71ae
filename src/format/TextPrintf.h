// printf-style formatting into a string of whatever length the result needs, under the process
// locale.
#pragma once

#include <string>

std::string TextPrintf(const char* format, ...)
#if defined(__MINGW32__)
    __attribute__((format(gnu_printf, 1, 2)));
#else
    __attribute__((format(printf, 1, 2)));
#endif
