#include "Kolvane.h"
#include "KolvaneState.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace Kolvane {

void WriteLog(const LogLocation& location, const char* format, ...) {
    std::recursive_mutex* lock = DiagnosticsLock();
    if (!lock) {
        return;
    }
    // Held from formatting to the library's return, so that lines never interleave and the log
    // is defined once.
    std::lock_guard guard(*lock);

    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length < 0) {
        va_end(args);
        return;
    }
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);

    const std::u16string text = Platform::AnsiToUtf16(std::string(buffer.data(), length));
    const ModuleLog& log = GetModuleLog();
    const EntryPoints& ep = GetEntryPoints();
    if (ep.WriteToLog) {
        ep.WriteToLog(log.id, log.name.c_str(), location.object, location.file,
                      location.function.c_str(), location.line, text.c_str());
    }
}

void ReportFailedAssertion(const char16_t* file, const char16_t* buildTimestamp, std::int32_t line,
                           const char* prettyFunction, const char16_t* expression) {
    // Called without the diagnostics lock, so that a report waiting for its answer does not stop
    // the other threads' logs.
    const EntryPoints& ep = GetEntryPoints();
    std::int32_t answer = -1;
    if (ep.GenerateAssert) {
        const std::u16string function = QualifiedFunctionName(prettyFunction);
        answer = ep.GenerateAssert(file, buildTimestamp, line, function.c_str(), expression);
    }
    if (answer == aaBreak) {
        Platform::BreakIntoDebugger();
    } else if (answer == aaEndProcess) {
        std::exit(0);
    }
}

} // namespace Kolvane
