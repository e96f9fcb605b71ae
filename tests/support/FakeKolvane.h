// What the recording diagnostics library (FakeKolvane.cpp) received, call by call, and what it
// answers. Shared by the library and its readers (LogCapture.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fake {

struct KolvaneCalls {
    struct Define {
        std::u16string name;
        std::int32_t kind;
    };
    struct Line {
        std::int64_t logId;
        std::u16string logName;
        const void* object;
        std::u16string file;
        std::u16string function;
        std::int32_t line;
        std::u16string text;
    };
    struct Report {
        std::u16string file;
        std::u16string buildTimestamp;
        std::int32_t line;
        std::u16string function;
        std::u16string expression;
    };
    std::vector<Define> defines;
    std::vector<Line> lines;
    std::vector<Report> reports;
    std::int64_t logId = 42; // what DefineLog returns
    std::int32_t answer = 0; // what GenerateAssert returns; 0 carries on
};

} // namespace fake

// The library's own entry points, beside those of the diagnostics interface.
extern "C" {
// The live record, for single-threaded tests that read every field or set the answers.
typedef fake::KolvaneCalls*(FakeKolvaneRecordFn)();
// A consistent copy of the record, taken while no other thread writes to it.
typedef void(FakeKolvaneCopyFn)(fake::KolvaneCalls* copy);
// Forgets every call received so far.
typedef void(FakeKolvaneClearFn)();
}
