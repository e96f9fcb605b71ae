// A diagnostics library for unit tests: built as kolvane.so beside the test program, where the
// diagnostics layer loads it, it keeps every log line and assertion report in memory for
// DiagnosticsRecorder.h, and answers every report with "carry on".
#include "kolvane/KolvaneApi.h"

#include <string>
#include <vector>

#define RECORDER_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::vector<std::string> s_records;

std::string Narrow(const char16_t* text) {
    std::string narrow;
    for (; text && *text; ++text) {
        narrow.push_back(static_cast<char>(*text));
    }
    return narrow;
}

} // namespace

RECORDER_EXPORT std::int64_t DefineLog(const char16_t*, std::int32_t) {
    return 1;
}

RECORDER_EXPORT void WriteToLog(std::int64_t, const char16_t*, const void*, const char16_t*,
                                const char16_t* function, std::int32_t, const char16_t* text) {
    s_records.push_back("log " + Narrow(function) + ": " + Narrow(text));
}

RECORDER_EXPORT std::int32_t GenerateAssert(const char16_t*, const char16_t*, std::int32_t,
                                            const char16_t* function, const char16_t* expression) {
    s_records.push_back("assert " + Narrow(function) + ": " + Narrow(expression));
    return 0;
}

RECORDER_EXPORT std::vector<std::string>* RecordedDiagnostics() {
    return &s_records;
}
