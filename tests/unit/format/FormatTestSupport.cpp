#include "FormatTestSupport.h"

#include "LogCapture.h"

std::vector<std::string> TakeDiagnostics() {
    if (!fake::LogCapture::Available()) {
        return {"no recording kolvane library beside the test program"};
    }
    std::vector<std::string> records;
    for (const fake::LogEntry& line : fake::LogCapture::Lines()) {
        records.push_back("log " + line.function + ": " + line.text);
    }
    for (const fake::LogEntry& report : fake::LogCapture::Assertions()) {
        records.push_back("assert " + report.function + ": " + report.text);
    }
    fake::LogCapture::Clear();
    return records;
}
