#include "TextPrintf.h"

#include <cstdarg>
#include <cstdio>

std::string TextPrintf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    // Most texts fit the stack buffer; a longer one (a price of 300 digits) is written again at
    // its full length.
    char buffer[128];
    const int length = std::vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    std::string text;
    if (length > 0 && static_cast<std::size_t>(length) < sizeof(buffer)) {
        text.assign(buffer, static_cast<std::size_t>(length));
    } else if (length > 0) {
        text.resize(static_cast<std::size_t>(length));
        std::vsnprintf(text.data(), text.size() + 1, format, again);
    }
    va_end(again);
    return text;
}
