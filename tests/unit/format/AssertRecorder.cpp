// A stand-in diagnostics library for tests: it keeps every assertion report ("function:
// expression") so that a test can tell which checks fired. Log lines are dropped.
#include "kolvane/KolvaneApi.h"

#include <string>
#include <vector>

#if defined(_WIN32)
#define RECORDER_EXPORT extern "C" __declspec(dllexport)
#else
#define RECORDER_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

std::vector<std::string>& Reports() {
    static std::vector<std::string> reports;
    return reports;
}

// The texts are ASCII: function names and source expressions.
std::string Narrow(const char16_t* text) {
    std::string narrow;
    for (; text && *text; ++text) {
        narrow.push_back(static_cast<char>(*text));
    }
    return narrow;
}

} // namespace

RECORDER_EXPORT std::int64_t KOLVANE_CALL DefineLog(const char16_t*, std::int32_t) {
    return 1;
}

RECORDER_EXPORT void KOLVANE_CALL WriteToLog(std::int64_t, const char16_t*, const void*,
                                             const char16_t*, const char16_t*, std::int32_t,
                                             const char16_t*) {}

RECORDER_EXPORT std::int32_t KOLVANE_CALL GenerateAssert(const char16_t*, const char16_t*,
                                                         std::int32_t, const char16_t* function,
                                                         const char16_t* expression) {
    Reports().push_back(Narrow(function) + ": " + Narrow(expression));
    return 0;
}

// Hands the reports recorded so far to the test and forgets them.
RECORDER_EXPORT void KOLVANE_CALL TakeRecordedAssertions(void (*sink)(const char* report,
                                                                      void* context),
                                                         void* context) {
    for (const std::string& report : Reports()) {
        sink(report.c_str(), context);
    }
    Reports().clear();
}
