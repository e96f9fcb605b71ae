#include "FormatTestSupport.h"

#include "DiagPlatform.h"
#include "FakeDataManager.h"

#include <clocale>
#include <optional>

namespace {

using RecordedDiagnostics = std::vector<std::string>* (*)();

FakeDataManager s_manager;
std::optional<ScopedDataManager> s_installed;

} // namespace

std::vector<std::string> TakeAssertions() {
    // The diagnostics layer loaded the recording library beside the test program; this takes
    // one more reference to the same module.
    Kolvane::Platform::LibraryHandle library = Kolvane::Platform::LoadLibraryByName(u"kolvane.dll");
    auto recorded = library ? reinterpret_cast<RecordedDiagnostics>(
                                  Kolvane::Platform::FindEntryPoint(library, "RecordedDiagnostics"))
                            : nullptr;
    if (!recorded) {
        if (library) {
            Kolvane::Platform::FreeLibraryHandle(library);
        }
        return {"no recording kolvane library beside the test program"};
    }
    const std::string prefix = "assert ";
    std::vector<std::string> reports;
    for (const std::string& record : *recorded()) {
        if (record.compare(0, prefix.size(), prefix) == 0) {
            reports.push_back(record.substr(prefix.size()));
        }
    }
    recorded()->clear();
    Kolvane::Platform::FreeLibraryHandle(library);
    return reports;
}

ScopedLocale::ScopedLocale(const std::string& name) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    m_previous = previous ? previous : "C";
    m_ok = std::setlocale(LC_ALL, name.c_str()) != nullptr;
}

ScopedLocale::~ScopedLocale() {
    std::setlocale(LC_ALL, m_previous.c_str());
}

const char* DotLocaleName() {
#if defined(_WIN32)
    return "English_United States.1252";
#else
    return "en_US.UTF-8";
#endif
}

const char* CommaLocaleName() {
#if defined(_WIN32)
    return "German_Germany.1252";
#else
    return "de_DE.UTF-8";
#endif
}

ScopedDisplayZone::ScopedDisplayZone(int mode, int exchangeOffsetMinutes) {
    s_manager.zoneMode = mode;
    s_manager.standardOffset = exchangeOffsetMinutes;
    s_installed.emplace(&s_manager);
}

ScopedDisplayZone::~ScopedDisplayZone() {
    s_installed.reset();
}
