// Reads the recording library. Loading it by the name the diagnostics layer uses gives the copy
// the layer loaded, and so the same records.
#include "LogCapture.h"

#include "DiagPlatform.h"

namespace fake {
namespace {

// Kept loaded for the life of the process, as the layer keeps it.
Kolvane::Platform::LibraryHandle Library() {
    static const auto library = Kolvane::Platform::LoadLibraryByName(u"kolvane.dll");
    return library;
}

// An entry of the library, or nullptr when it is not beside the program.
template <typename Fn> Fn* Entry(const char* name) {
    return Library() ? reinterpret_cast<Fn*>(Kolvane::Platform::FindEntryPoint(Library(), name))
                     : nullptr;
}

KolvaneCalls Copy() {
    KolvaneCalls copy;
    if (auto* copyFn = Entry<FakeKolvaneCopyFn>("FakeKolvaneCopy")) {
        copyFn(&copy);
    }
    return copy;
}

// The function and the given text of each record. The library receives Latin-1 text widened to
// UTF-16.
template <typename Record>
std::vector<LogEntry> Entries(const std::vector<Record>& records, std::u16string Record::*text) {
    std::vector<LogEntry> entries;
    for (const Record& record : records) {
        entries.push_back({std::string(record.function.begin(), record.function.end()),
                           std::string((record.*text).begin(), (record.*text).end())});
    }
    return entries;
}

} // namespace

bool LogCapture::Available() {
    return Entry<FakeKolvaneCopyFn>("FakeKolvaneCopy") != nullptr;
}

void LogCapture::Clear() {
    if (auto* clear = Entry<FakeKolvaneClearFn>("FakeKolvaneClear")) {
        clear();
    }
}

std::vector<LogEntry> LogCapture::Lines() {
    return Entries(Copy().lines, &KolvaneCalls::Line::text);
}

std::vector<LogEntry> LogCapture::Assertions() {
    return Entries(Copy().reports, &KolvaneCalls::Report::expression);
}

KolvaneCalls* LogCapture::Calls() {
    auto* record = Entry<FakeKolvaneRecordFn>("FakeKolvaneRecord");
    return record ? record() : nullptr;
}

} // namespace fake
