// Reads the recording library. Loading it by the name the diagnostics layer uses gives the copy
// the layer loaded, and so the same records.
#include "LogCapture.h"

#include "DiagPlatform.h"

namespace fake {
namespace {

struct Entries {
    FakeKolvaneRecordFn* record = nullptr;
    FakeKolvaneCopyFn* copy = nullptr;
    FakeKolvaneClearFn* clear = nullptr;
};

const Entries& Library() {
    static const Entries entries = [] {
        Entries bound;
        // Kept loaded for the life of the process, as the layer keeps it.
        const Kolvane::Platform::LibraryHandle library =
            Kolvane::Platform::LoadLibraryByName(u"kolvane.dll");
        if (library) {
            using Kolvane::Platform::FindEntryPoint;
            bound.record = reinterpret_cast<FakeKolvaneRecordFn*>(
                FindEntryPoint(library, "FakeKolvaneRecord"));
            bound.copy =
                reinterpret_cast<FakeKolvaneCopyFn*>(FindEntryPoint(library, "FakeKolvaneCopy"));
            bound.clear =
                reinterpret_cast<FakeKolvaneClearFn*>(FindEntryPoint(library, "FakeKolvaneClear"));
        }
        return bound;
    }();
    return entries;
}

KolvaneCalls Copy() {
    KolvaneCalls copy;
    if (Library().copy) {
        Library().copy(&copy);
    }
    return copy;
}

// The library receives Latin-1 text widened to UTF-16.
std::string Narrow(const std::u16string& text) {
    return std::string(text.begin(), text.end());
}

} // namespace

bool LogCapture::Available() {
    return Library().record && Library().copy && Library().clear;
}

void LogCapture::Clear() {
    if (Library().clear) {
        Library().clear();
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
    return Library().record ? Library().record() : nullptr;
}

} // namespace fake
