#include "FormatTestSupport.h"

#include "DataManagerSource.h"
#include "DiagPlatform.h"
#include "mondrel/Mondrel.h"

#include <clocale>

namespace {

using TakeRecorded = void (*)(void (*)(const char*, void*), void*);

class FakeMarketInfo final : public IMarketInfo {
public:
    int offsetMinutes = 0;
    int GetTimeZone(const char*) override { return 0; }
    IHolidayList* GetHolidays(const char*) override { return nullptr; }
    void ReleaseHolidays(IHolidayList*) override {}
    void GetTimeOffsets(const char*, int* offset, int* second) override {
        *offset = offsetMinutes;
        *second = offsetMinutes;
    }
    int GetTimeZoneOffset(MondrelTime, int) override { return offsetMinutes; }
    int IsDaylightTime(MondrelTime, const char*) override { return 0; }
};

// Answers only what the display-zone conversion asks: the mode and the market information.
class FakeDataManager final : public Mondrel {
public:
    int mode = 1;
    FakeMarketInfo market;
    int SetIntOption(int, int) override { return 0; }
    int SetTextOption(int, const char*) override { return 0; }
    int GetIntOption(int id, int* value) override {
        if (id != moTimeZoneMode) {
            return 0;
        }
        *value = mode;
        return 1;
    }
    int ConnectFeeds(const char*, const char*, int, int) override { return 0; }
    void DisconnectFeeds() override {}
    IMarketInfo* GetMarketInfo() override { return &market; }
    void ReleaseMarketInfo() override {}
    void AddConnectionListener(IConnectionEvents*) override {}
    void RemoveConnectionListener(IConnectionEvents*) override {}
    IQuote* SubscribeQuote(const char*, IQuoteEvents*, int) override { return nullptr; }
    void UnsubscribeQuote(IQuote*, IQuoteEvents*) override {}
    IBarSet* RequestBars(const char*, int, IBarEvents*, IRequestOptions*) override {
        return nullptr;
    }
    void StopBars(IBarSet*, IBarEvents*) override {}
    IRequestOptions* NewBarOptions() override { return nullptr; }
    ITickSet* RequestTicks(const char*, ITickEvents*, IRequestOptions*) override { return nullptr; }
    void StopTicks(ITickSet*, ITickEvents*) override {}
    IRequestOptions* NewTickOptions() override { return nullptr; }
};

FakeDataManager s_manager;

Mondrel* FakeSource() {
    return &s_manager;
}

} // namespace

std::vector<std::string> TakeAssertions() {
    std::vector<std::string> reports;
    // The diagnostics layer loaded the recording library beside the test program; this takes
    // one more reference to the same module.
    Kolvane::Platform::LibraryHandle library = Kolvane::Platform::LoadLibraryByName(u"kolvane.dll");
    if (!library) {
        reports.push_back("no recording kolvane library beside the test program");
        return reports;
    }
    auto take = reinterpret_cast<TakeRecorded>(
        Kolvane::Platform::FindEntryPoint(library, "TakeRecordedAssertions"));
    if (take) {
        take(
            [](const char* report, void* context) {
                static_cast<std::vector<std::string>*>(context)->push_back(report);
            },
            &reports);
    }
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
    s_manager.mode = mode;
    s_manager.market.offsetMinutes = exchangeOffsetMinutes;
    SetDataManagerSource(&FakeSource);
}

ScopedDisplayZone::~ScopedDisplayZone() {
    SetDataManagerSource(nullptr);
}
