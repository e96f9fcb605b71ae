// The entry points of the diagnostics library kolvane.dll, as the program binds them by name.
// Strings are null-terminated UTF-16. Shared by the library and the program's diagnostics layer.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#define KOLVANE_CALL __cdecl
#else
#define KOLVANE_CALL
#endif

extern "C" {

// Defines a log; the kind 237 is the program's module log. Returns the log id.
typedef std::int64_t(KOLVANE_CALL* KolvaneDefineLog)(const char16_t* logName, std::int32_t kind);

// Writes one line; the object is an opaque value, never dereferenced.
typedef void(KOLVANE_CALL* KolvaneWriteToLog)(std::int64_t logId, const char16_t* logName,
                                              const void* object, const char16_t* file,
                                              const char16_t* function, std::int32_t line,
                                              const char16_t* text);

// Reports a failed assertion. Answers 1 to break into the debugger, 2 to end the process with
// exit code 0, anything else to carry on.
typedef std::int32_t(KOLVANE_CALL* KolvaneGenerateAssert)(const char16_t* file,
                                                          const char16_t* buildTimestamp,
                                                          std::int32_t line,
                                                          const char16_t* function,
                                                          const char16_t* expression);

// Bound for completeness, never called by the program.
typedef void(KOLVANE_CALL* KolvaneUnusedEntry)();
}

namespace Kolvane {
enum AssertAnswer : std::int32_t { aaBreak = 1, aaEndProcess = 2 };
constexpr std::int32_t kModuleLogKind = 237;
} // namespace Kolvane
