// What the diagnostics layer wrote while a test ran: log lines and assertion reports, as received
// by the recording kolvane.so that zanvo_capture_log(test-target) places beside the test program.
#pragma once

#include "FakeKolvane.h"

#include <string>
#include <utility>
#include <vector>

namespace fake {

struct LogEntry {
    std::string function; // "Class::Method"
    std::string text;     // the log text, or the asserted expression as written

    bool operator==(const LogEntry&) const = default;
};

// A log line or assertion report as a test expects it.
inline LogEntry Reported(std::string function, std::string text) {
    return {std::move(function), std::move(text)};
}

class LogCapture {
public:
    // False when the recording library is not beside the program (nothing is captured then).
    static bool Available();
    static void Clear();
    static std::vector<LogEntry> Lines();
    static std::vector<LogEntry> Assertions();
    // Every call in full, and the library's answers; null when the library is not beside the
    // program. For single-threaded tests of the diagnostics layer itself.
    static KolvaneCalls* Calls();
};

} // namespace fake
