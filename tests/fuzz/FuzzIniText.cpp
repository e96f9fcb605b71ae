// The portable ini reader and writer on any text: the first line of the input names the section
// and key (split at the first '='), the rest is the file. Reading must find what writing stored.
#include "IniText.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t lineEnd = input.find('\n');
    const std::string_view first = input.substr(0, lineEnd);
    const std::string_view text =
        lineEnd == std::string_view::npos ? std::string_view() : input.substr(lineEnd + 1);
    const std::size_t eq = first.find('=');
    const std::string_view section = first.substr(0, eq);
    const std::string_view key = eq == std::string_view::npos ? "Key" : first.substr(eq + 1);

    IniText::ParseInteger(IniText::FindValue(text, section, key), -1);
    IniText::ParseInteger(first, 0);

    // Names and values the settings store writes: no line ends, no brackets or '=' in names,
    // no blanks around them, a value without enclosing quotes.
    constexpr std::string_view notInNames("\r\n[]= \t;\"'\0", 11);
    auto plain = [&](std::string_view name) {
        return !name.empty() && name.find_first_of(notInNames) == std::string_view::npos;
    };
    if (plain(section) && plain(key)) {
        const std::string value = "v" + std::string(section) + "v";
        const std::string written = IniText::SetValue(text, section, key, value);
        if (IniText::FindValue(written, section, key) != value) {
            __builtin_trap();
        }
    }
    return 0;
}
