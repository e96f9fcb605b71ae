// What the diagnostics library needs of the platform. Implemented for Win32 (win32/) and for
// POSIX (posix/, the native build that the unit tests load).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace Kolvane::Library::Platform {

// The value of an environment variable (UTF-8 text, or a path); empty when unset.
std::string EnvironmentText(const char* name);
std::filesystem::path EnvironmentPath(const char* name);

// Where logs go when KOLVANE_LOG_DIR is unset: %LOCALAPPDATA%\Zanvo\Logs on Windows,
// $HOME/.local/state/zanvo/logs natively; empty when the base folder is unknown.
std::filesystem::path DefaultLogFolder();

// The folder of the running program, the last resort for logs; and the folder of this library.
std::filesystem::path ProgramFolder();
std::filesystem::path LibraryFolder();

// Local time "YYYY-MM-DD HH:MM:SS.mmm".
std::string LocalTimeText();

std::uint64_t CurrentThreadId();

} // namespace Kolvane::Library::Platform
