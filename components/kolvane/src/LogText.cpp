#include "LogText.h"

#include <cinttypes>
#include <cstdio>
#include <string_view>

namespace Kolvane::Library {

std::string Utf16ToUtf8(const char16_t* text) {
    std::string out;
    if (!text) {
        return out;
    }
    for (const char16_t* p = text; *p; ++p) {
        char32_t c = *p;
        if (c >= 0xD800 && c <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (p[1] - 0xDC00);
            ++p;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::string EscapeField(const std::string& field, bool lastField) {
    std::string out;
    out.reserve(field.size());
    for (const char c : field) {
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t' && !lastField) {
            out += "\\t";
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string LogFileStem(const std::string& logName) {
    std::string name = logName.substr(logName.find_last_of("/\\") + 1);
    if (const auto dot = name.rfind('.'); dot != std::string::npos && dot > 0) {
        name.resize(dot);
    }
    for (char& c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || std::string_view("<>:\"|?*").find(c) != std::string_view::npos) {
            c = '_';
        }
    }
    if (name.empty() || name == "." || name == "..") {
        return "undefined";
    }
    return name;
}

namespace {
std::string Header(const std::string& time, std::uint64_t thread, const std::string& file,
                   std::int32_t line, const std::string& function) {
    return EscapeField(time, false) + '\t' + std::to_string(thread) + '\t' +
           EscapeField(file, false) + '(' + std::to_string(line) + ")\t" +
           EscapeField(function, false) + '\t';
}
} // namespace

std::string FormatLogLine(const LogLineFields& fields) {
    char object[2 + 2 * sizeof(std::uintptr_t) + 1];
    std::snprintf(object, sizeof(object), "0x%0*" PRIXPTR,
                  static_cast<int>(2 * sizeof(std::uintptr_t)), fields.object);
    std::string text = fields.text;
    if (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    return Header(fields.time, fields.thread, fields.file, fields.line, fields.function) + object +
           '\t' + EscapeField(text, true) + '\n';
}

std::string FormatAssertLine(const AssertLineFields& fields) {
    const char* word = fields.answer == 1 ? "break" : fields.answer == 2 ? "end" : "continue";
    return Header(fields.time, fields.thread, fields.file, fields.line, fields.function) +
           "Assertion failed: " + EscapeField(fields.expression, false) + "\tbuilt " +
           EscapeField(fields.buildTimestamp, false) + "\tanswer: " + word + " (" +
           std::to_string(fields.answer) + ")\n";
}

} // namespace Kolvane::Library
