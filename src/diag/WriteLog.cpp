#include "Kolvane.h"
#include "KolvaneState.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace Kolvane {

namespace {
// The runtime's printf text of format and args; the format as it stands when the runtime
// refuses it (for example a %ls argument with no narrow form), so that the line is not lost.
std::string Formatted(const char* format, va_list args) {
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length < 0) {
        return format;
    }
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}
} // namespace

void WriteLog(const LogLocation& location, const char* format, ...) {
    if (!format) {
        return;
    }
    // Held from formatting to the library's return, so that lines never interleave and the log
    // is defined once.
    std::lock_guard guard(DiagnosticsLock());
    if (IsShutDown()) {
        return;
    }
    va_list args;
    va_start(args, format);
    // Ends the argument list also when the buffer cannot be allocated and bad_alloc passes on.
    struct ArgsEnd {
        va_list& args;
        ~ArgsEnd() { va_end(args); }
    } argsEnd{args};
    const std::u16string text = Platform::AnsiToUtf16(Formatted(format, args));
    const ModuleLog& log = GetModuleLog();
    const EntryPoints& ep = GetEntryPoints();
    if (ep.WriteToLog) {
        ep.WriteToLog(log.id, log.name.c_str(), location.object, location.file,
                      location.function.c_str(), location.line, text.c_str());
    }
}

void ReportFailedAssertion(const char16_t* file, const char16_t* buildTimestamp, std::int32_t line,
                           const char* prettyFunction, const char16_t* expression) {
    const std::u16string function = QualifiedFunctionName(prettyFunction);
    const std::int32_t answer =
        CallGenerateAssert(file, buildTimestamp, line, function.c_str(), expression);
    if (answer == aaBreak) {
        Platform::BreakIntoDebugger();
    } else if (answer == aaEndProcess) {
        // exit, not _exit: static destructors run and the log receives "Module unloaded".
        std::exit(0);
    }
}

} // namespace Kolvane
