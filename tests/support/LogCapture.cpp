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

// The library receives Latin-1 text widened to UTF-16.
std::string Narrow(const std::u16string& text) {
    return std::string(text.begin(), text.end());
}

} // namespace

bool LogCapture::Available() {
    return Entry<FakeKolvaneRecordFn>("FakeKolvaneRecord") &&
           Entry<FakeKolvaneCopyFn>("FakeKolvaneCopy") &&
           Entry<FakeKolvaneClearFn>("FakeKolvaneClear");
}

void LogCapture::Clear() {
    if (auto* clear = Entry<FakeKolvaneClearFn>("FakeKolvaneClear")) {
        clear();
    }
}

std::vector<LogEntry> LogCapture::Lines() {
    std::vector<LogEntry> lines;
    for (const KolvaneCalls::Line& line : Copy().lines) {
        lines.push_back({Narrow(line.function), Narrow(line.text)});
    }
    return lines;
}

std::vector<LogEntry> LogCapture::Assertions() {
    std::vector<LogEntry> reports;
    for (const KolvaneCalls::Report& report : Copy().reports) {
        reports.push_back({Narrow(report.function), Narrow(report.expression)});
    }
    return reports;
}

KolvaneCalls* LogCapture::Calls() {
    auto* record = Entry<FakeKolvaneRecordFn>("FakeKolvaneRecord");
    return record ? record() : nullptr;
}

} // namespace fake
