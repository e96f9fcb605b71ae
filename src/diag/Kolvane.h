// The program's diagnostics layer: log lines and assertion reports, handed to kolvane.dll when it
// is present and dropped without a word when it is not.
//
//   KOLVANE_LOG(this, "DDE initialize failed\n");      // object is nullptr in free functions
//   KOLVANE_ASSERT(m_listener);                         // evaluated in every build, exactly once
//   KOLVANE_ASSERT_TEXT(ok, "settings.Save()");          // reported with the text given
#pragma once

#include <cstdint>
#include <string>

namespace Kolvane {

// Where a log line comes from. The function is "Class::Method".
struct LogLocation {
    const char16_t* file;
    std::u16string function;
    const void* object;
    std::int32_t line;
};

// Writes one printf-style line (the runtime's rules; wide strings with %ls). Lines from different
// threads never interleave. No line feed is added.
void WriteLog(const LogLocation& location, const char* format, ...)
#if defined(__MINGW32__)
    __attribute__((format(gnu_printf, 2, 3)));
#else
    __attribute__((format(printf, 2, 3)));
#endif

// Reports a failed assertion and acts on the library's answer (break, end the process, carry on).
void ReportFailedAssertion(const char16_t* file, const char16_t* buildTimestamp, std::int32_t line,
                           const char* prettyFunction, const char16_t* expression);

// "Class::Method" from the compiler's decorated function name.
std::u16string QualifiedFunctionName(const char* prettyFunction);

} // namespace Kolvane

#define KOLVANE_FILE (u"" __FILE__)

#define KOLVANE_LOG(object, ...)                                                                   \
    ::Kolvane::WriteLog(                                                                           \
        ::Kolvane::LogLocation{KOLVANE_FILE,                                                       \
                               ::Kolvane::QualifiedFunctionName(__PRETTY_FUNCTION__), (object),    \
                               __LINE__},                                                          \
        __VA_ARGS__)

// Never compiled out: the condition runs in every build, exactly once, also for its side
// effects. The report quotes `text`, where it should read otherwise than the condition.
#define KOLVANE_ASSERT_TEXT(condition, text)                                                       \
    do {                                                                                           \
        if (condition) {                                                                           \
        } else {                                                                                   \
            ::Kolvane::ReportFailedAssertion(KOLVANE_FILE, u"" __TIMESTAMP__, __LINE__,            \
                                             __PRETTY_FUNCTION__, u"" text);                       \
        }                                                                                          \
    } while (0)

// Reports the condition as written. Variadic so that commas inside template arguments need no
// extra parentheses.
#define KOLVANE_ASSERT(...) KOLVANE_ASSERT_TEXT((__VA_ARGS__), #__VA_ARGS__)
