// A diagnostics library for native unit tests: it keeps every log line and assertion report it
// receives in memory, where LogCapture (LogCapture.h) reads them. Built as kolvane.so and placed
// beside a test program by zanvo_capture_log, so that the diagnostics layer loads it in place of
// the real library.
#include "kolvane/KolvaneApi.h"

#include <mutex>
#include <string>
#include <vector>

namespace {

struct Entry {
    int kind; // 0 log line, 1 assertion report
    std::string function;
    std::string text;
};

std::mutex s_lock;
std::vector<Entry> s_entries;

// The layer hands over Latin-1 text widened to UTF-16.
std::string Narrow(const char16_t* text) {
    std::string narrow;
    for (const char16_t* c = text; c && *c; ++c) {
        narrow.push_back(static_cast<char>(*c));
    }
    return narrow;
}

} // namespace

#define FAKE_KOLVANE_EXPORT extern "C" __attribute__((visibility("default")))

FAKE_KOLVANE_EXPORT std::int64_t DefineLog(const char16_t*, std::int32_t) {
    return 1;
}

FAKE_KOLVANE_EXPORT void WriteToLog(std::int64_t, const char16_t*, const void*, const char16_t*,
                                    const char16_t* function, std::int32_t, const char16_t* text) {
    std::lock_guard guard(s_lock);
    s_entries.push_back({0, Narrow(function), Narrow(text)});
}

// Always answers "carry on", as the program's unattended default does.
FAKE_KOLVANE_EXPORT std::int32_t GenerateAssert(const char16_t*, const char16_t*, std::int32_t,
                                                const char16_t* function,
                                                const char16_t* expression) {
    std::lock_guard guard(s_lock);
    s_entries.push_back({1, Narrow(function), Narrow(expression)});
    return 0;
}

// The capture interface read by LogCapture.

FAKE_KOLVANE_EXPORT void FakeKolvaneClear() {
    std::lock_guard guard(s_lock);
    s_entries.clear();
}

FAKE_KOLVANE_EXPORT int FakeKolvaneCount() {
    std::lock_guard guard(s_lock);
    return static_cast<int>(s_entries.size());
}

// The strings stay valid until the next call that changes the entries.
FAKE_KOLVANE_EXPORT int FakeKolvaneEntry(int index, const char** function, const char** text) {
    std::lock_guard guard(s_lock);
    const Entry& entry = s_entries.at(static_cast<std::size_t>(index));
    *function = entry.function.c_str();
    *text = entry.text.c_str();
    return entry.kind;
}
