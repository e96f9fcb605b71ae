#include "FormatTestSupport.h"

#include "LogCapture.h"

#include <clocale>

std::vector<std::string> TakeAssertions() {
    std::vector<std::string> reports;
    for (const std::string& record : TakeDiagnostics()) {
        if (record.starts_with("assert ")) {
            reports.push_back(record.substr(7));
        }
    }
    return reports;
}

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

ScopedLocale::ScopedLocale(const std::string& name) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    m_previous = previous ? previous : "C";
    m_ok = std::setlocale(LC_ALL, name.c_str()) != nullptr;
}

ScopedLocale::~ScopedLocale() {
    std::setlocale(LC_ALL, m_previous.c_str());
}
