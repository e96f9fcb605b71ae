// The library's settings, read afresh on every call so that a change takes effect at once:
//   KOLVANE_LOG_DIR        the log folder (default: see KolvanePlatform.h)
//   KOLVANE_LOG_MAX_BYTES  size limit of one log file (default 5 MiB); three old files are kept
//   KOLVANE_ASSERT         answer to failed assertions: "continue" (default), "end" or "break";
//                          when unset or empty, the key Answer of the section [Assertions] in
//                          kolvane.ini beside the library; the environment wins.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace Kolvane::Library {

constexpr std::uintmax_t kDefaultMaxLogBytes = 5u * 1024u * 1024u;
constexpr int kKeptOldLogs = 3;

// "continue" -> 0, "break" -> 1, "end" -> 2, case and surrounding blanks ignored; nullopt for
// anything else.
std::optional<std::int32_t> ParseAssertAnswer(const std::string& text);

// A positive whole number of bytes; the default for anything else.
std::uintmax_t ParseMaxLogBytes(const std::string& text);

// The value of KEY in [SECTION] of an ini text (names compared without case; ';' and '#' start
// comment lines); nullopt when absent.
std::optional<std::string> IniValue(const std::string& iniText, const std::string& section,
                                    const std::string& key);

// The answer to give a failed assertion, from the environment and kolvane.ini.
std::int32_t ConfiguredAssertAnswer();

std::uintmax_t ConfiguredMaxLogBytes();

} // namespace Kolvane::Library
