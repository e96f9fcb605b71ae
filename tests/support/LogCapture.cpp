// Reads the recording kolvane.so. Opening it by the same path as the diagnostics layer gives the
// same loaded copy, and so the same records.
#include "LogCapture.h"

#include <dlfcn.h>
#include <unistd.h>

namespace fake {
namespace {

struct Entries {
    void (*clear)() = nullptr;
    int (*count)() = nullptr;
    int (*entry)(int, const char**, const char**) = nullptr;
};

const Entries& Library() {
    static const Entries entries = [] {
        Entries bound;
        char path[4096];
        const ssize_t n = ::readlink("/proc/self/exe", path, sizeof(path) - 1);
        if (n <= 0) {
            return bound;
        }
        std::string folder(path, static_cast<std::size_t>(n));
        folder.resize(folder.rfind('/') + 1);
        void* library = ::dlopen((folder + "kolvane.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            return bound;
        }
        bound.clear = reinterpret_cast<void (*)()>(::dlsym(library, "FakeKolvaneClear"));
        bound.count = reinterpret_cast<int (*)()>(::dlsym(library, "FakeKolvaneCount"));
        bound.entry = reinterpret_cast<int (*)(int, const char**, const char**)>(
            ::dlsym(library, "FakeKolvaneEntry"));
        return bound;
    }();
    return entries;
}

std::vector<LogEntry> EntriesOfKind(int kind) {
    std::vector<LogEntry> found;
    const Entries& library = Library();
    if (!library.count || !library.entry) {
        return found;
    }
    const int count = library.count();
    for (int i = 0; i < count; ++i) {
        const char* function = nullptr;
        const char* text = nullptr;
        if (library.entry(i, &function, &text) == kind) {
            found.push_back({function, text});
        }
    }
    return found;
}

} // namespace

bool LogCapture::Available() {
    const Entries& library = Library();
    return library.clear && library.count && library.entry;
}

void LogCapture::Clear() {
    if (Library().clear) {
        Library().clear();
    }
}

std::vector<LogEntry> LogCapture::Lines() {
    return EntriesOfKind(0);
}

std::vector<LogEntry> LogCapture::Assertions() {
    return EntriesOfKind(1);
}

} // namespace fake
