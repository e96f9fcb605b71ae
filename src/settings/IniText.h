// The text of an ini file read and edited as the Windows private-profile functions do it, for
// platforms without them. Sections in [brackets]; key=value lines; section and key names matched
// without regard to ASCII case; names and values trimmed of blanks; a value enclosed in a matching
// pair of quotes (" or ') loses them. Only the first section of a name counts. Editing keeps every
// other line as it stands.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace IniText {

// The value of section / key; empty when either is missing or the key line has no "=".
std::string FindValue(std::string_view text, std::string_view section, std::string_view key);

// The text with section / key set to value: the key's line rewritten in place, or a new line
// after the section's last non-blank line, or a new section at the end. New lines end as the
// text's first line does (CR LF for a text without line ends).
std::string SetValue(std::string_view text, std::string_view section, std::string_view key,
                     std::string_view value);

// A value read as an integer the way GetPrivateProfileIntA reads it: an optional sign, an
// optional 0x, 0o or 0b prefix, then digits up to the first other character, wrapping at 32 bits
// (no digits give 0). defaultValue when the value is empty.
std::int32_t ParseInteger(std::string_view value, std::int32_t defaultValue);

} // namespace IniText
