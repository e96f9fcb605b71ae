// The entry points of kolvane.dll (kolvane.so natively). Each call appends one line to a file
// in the log folder; nothing here throws or trusts its pointers.
#include "KolvanePlatform.h"
#include "KolvaneSettings.h"
#include "LogText.h"
#include "RotatingFile.h"
#include "kolvane/KolvaneApi.h"

#include <atomic>
#include <mutex>

#if defined(_WIN32)
#define KOLVANE_EXPORT extern "C" __declspec(dllexport)
#else
#define KOLVANE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace Kolvane::Library {
namespace {

// Rotation renames files, so every thread's line goes through one lock.
std::mutex s_fileLock;
std::atomic<std::int64_t> s_nextLogId{1};

// KOLVANE_LOG_DIR, else the platform's default folder, else (also when the folder cannot be
// written) the program's own folder.
void WriteLine(const std::string& stem, const std::string& line) {
    const RotationPolicy policy{ConfiguredMaxLogBytes(), kKeptOldLogs};
    std::filesystem::path folder = Platform::EnvironmentPath("KOLVANE_LOG_DIR");
    if (folder.empty()) {
        folder = Platform::DefaultLogFolder();
    }
    std::lock_guard guard(s_fileLock);
    if (!folder.empty() && AppendLine(folder, stem, line, policy)) {
        return;
    }
    const std::filesystem::path fallback = Platform::ProgramFolder();
    if (!fallback.empty()) {
        AppendLine(fallback, stem, line, policy);
    }
}

} // namespace
} // namespace Kolvane::Library

using namespace Kolvane::Library;

// The kind (237 for a program's module log) selects nothing: every log is a file named after
// the log name, and the id only tells definitions apart.
KOLVANE_EXPORT std::int64_t KOLVANE_CALL DefineLog(const char16_t* /*logName*/,
                                                   std::int32_t /*kind*/) {
    return s_nextLogId.fetch_add(1);
}

KOLVANE_EXPORT void KOLVANE_CALL WriteToLog(std::int64_t /*logId*/, const char16_t* logName,
                                            const void* object, const char16_t* file,
                                            const char16_t* function, std::int32_t line,
                                            const char16_t* text) {
    try {
        const LogLineFields fields{
            Platform::LocalTimeText(), Platform::CurrentThreadId(),
            Utf16ToUtf8(file),         line,
            Utf16ToUtf8(function),     reinterpret_cast<std::uintptr_t>(object),
            Utf16ToUtf8(text)};
        WriteLine(LogFileStem(Utf16ToUtf8(logName)), FormatLogLine(fields));
    } catch (...) {
        // A line that cannot be written is dropped; the program never notices.
    }
}

KOLVANE_EXPORT std::int32_t KOLVANE_CALL GenerateAssert(const char16_t* file,
                                                        const char16_t* buildTimestamp,
                                                        std::int32_t line, const char16_t* function,
                                                        const char16_t* expression) {
    std::int32_t answer = 0;
    try {
        answer = ConfiguredAssertAnswer();
        const AssertLineFields fields{Platform::LocalTimeText(),   Platform::CurrentThreadId(),
                                      Utf16ToUtf8(file),           line,
                                      Utf16ToUtf8(function),       Utf16ToUtf8(expression),
                                      Utf16ToUtf8(buildTimestamp), answer};
        WriteLine("asserts", FormatAssertLine(fields));
    } catch (...) {
        // The report is lost; the answer still stands.
    }
    return answer;
}

// Bound by the program but never called: present so that every name it looks up resolves.
KOLVANE_EXPORT void KOLVANE_CALL CleanupOutdatedReports() {}
KOLVANE_EXPORT void KOLVANE_CALL AddCustomFileCallback() {}
KOLVANE_EXPORT void KOLVANE_CALL AddEventCallback() {}
KOLVANE_EXPORT void KOLVANE_CALL AddCustomRegistryKey() {}
KOLVANE_EXPORT void KOLVANE_CALL GenerateSnapshot() {}
KOLVANE_EXPORT void KOLVANE_CALL GetLogFileName() {}
KOLVANE_EXPORT void KOLVANE_CALL GetWorkingFolder() {}
KOLVANE_EXPORT void KOLVANE_CALL SetSessionID() {}
