#include "RawText.h"

#include <cstdio>

std::string RawText(const std::string& text) {
    std::string raw;
    raw.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\t':
            raw += "\\t";
            break;
        case '\n':
            raw += "\\n";
            break;
        case '\r':
            raw += "\\r";
            break;
        case '\\':
            raw += "\\\\";
            break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                char hex[5];
                std::snprintf(hex, sizeof hex, "\\x%02X", byte);
                raw += hex;
            } else {
                raw += c;
            }
        }
    }
    return raw;
}
