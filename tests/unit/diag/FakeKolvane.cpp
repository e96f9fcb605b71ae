#include "FakeKolvane.h"

#include "kolvane/KolvaneApi.h"

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
FakeKolvaneCalls s_calls;

std::u16string Text(const char16_t* text) {
    return text ? std::u16string(text) : std::u16string(u"<null>");
}
} // namespace

FAKE_EXPORT FakeKolvaneCalls* FakeKolvaneRecord() {
    return &s_calls;
}

#ifndef FAKE_KOLVANE_NO_DEFINE
FAKE_EXPORT std::int64_t DefineLog(const char16_t* logName, std::int32_t kind) {
    s_calls.defines.push_back({Text(logName), kind});
    return s_calls.logId;
}
#endif

#ifndef FAKE_KOLVANE_NO_WRITE
FAKE_EXPORT void WriteToLog(std::int64_t logId, const char16_t* logName, const void* object,
                            const char16_t* file, const char16_t* function, std::int32_t line,
                            const char16_t* text) {
    s_calls.lines.push_back(
        {logId, Text(logName), object, Text(file), Text(function), line, Text(text)});
}
#endif

#ifndef FAKE_KOLVANE_NO_ASSERT
FAKE_EXPORT std::int32_t GenerateAssert(const char16_t* file, const char16_t* buildTimestamp,
                                        std::int32_t line, const char16_t* function,
                                        const char16_t* expression) {
    s_calls.reports.push_back(
        {Text(file), Text(buildTimestamp), line, Text(function), Text(expression)});
    return s_calls.answer;
}
#endif
