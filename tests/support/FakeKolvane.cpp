// A diagnostics library for tests: it keeps every call it receives in memory, where LogCapture
// (LogCapture.h) reads them. Built as kolvane.so / kolvane.dll and placed beside a test program
// (zanvo_capture_log), so that the diagnostics layer loads it in place of the real library.
// Variants leave out entry points (FAKE_KOLVANE_NO_DEFINE, _NO_WRITE, _NO_ASSERT) for tests of a
// library that lacks them.
#include "FakeKolvane.h"

#include "kolvane/KolvaneApi.h"

#include <mutex>

#if defined(_WIN32)
#define FAKE_KOLVANE_EXPORT extern "C" __declspec(dllexport)
#else
#define FAKE_KOLVANE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

fake::KolvaneCalls s_calls;

// Calls may arrive from any thread.
std::mutex s_lock;

std::u16string Text(const char16_t* text) {
    return text ? std::u16string(text) : std::u16string(u"<null>");
}

} // namespace

FAKE_KOLVANE_EXPORT fake::KolvaneCalls* FakeKolvaneRecord() {
    return &s_calls;
}

FAKE_KOLVANE_EXPORT void FakeKolvaneCopy(fake::KolvaneCalls* copy) {
    std::lock_guard guard(s_lock);
    *copy = s_calls;
}

FAKE_KOLVANE_EXPORT void FakeKolvaneClear() {
    std::lock_guard guard(s_lock);
    s_calls = {.logId = s_calls.logId, .answer = s_calls.answer};
}

#ifndef FAKE_KOLVANE_NO_DEFINE
FAKE_KOLVANE_EXPORT std::int64_t DefineLog(const char16_t* logName, std::int32_t kind) {
    std::lock_guard guard(s_lock);
    s_calls.defines.push_back({Text(logName), kind});
    return s_calls.logId;
}
#endif

#ifndef FAKE_KOLVANE_NO_WRITE
FAKE_KOLVANE_EXPORT void WriteToLog(std::int64_t logId, const char16_t* logName, const void* object,
                                    const char16_t* file, const char16_t* function,
                                    std::int32_t line, const char16_t* text) {
    std::lock_guard guard(s_lock);
    s_calls.lines.push_back(
        {logId, Text(logName), object, Text(file), Text(function), line, Text(text)});
}
#endif

#ifndef FAKE_KOLVANE_NO_ASSERT
FAKE_KOLVANE_EXPORT std::int32_t GenerateAssert(const char16_t* file,
                                                const char16_t* buildTimestamp, std::int32_t line,
                                                const char16_t* function,
                                                const char16_t* expression) {
    std::lock_guard guard(s_lock);
    s_calls.reports.push_back(
        {Text(file), Text(buildTimestamp), line, Text(function), Text(expression)});
    return s_calls.answer;
}
#endif
