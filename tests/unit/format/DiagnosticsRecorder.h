// What the code under test logged and reported, as "log Class::Method: text" and
// "assert Class::Method: expression", read from the recording kolvane.so beside the test program.
#pragma once

#include <dlfcn.h>
#include <unistd.h>

#include <string>
#include <vector>

inline std::vector<std::string> TakeDiagnostics() {
    static std::vector<std::string>* records = [] {
        char path[4096];
        const ssize_t n = ::readlink("/proc/self/exe", path, sizeof(path) - 1);
        if (n <= 0) {
            return static_cast<std::vector<std::string>*>(nullptr);
        }
        std::string library(path, static_cast<std::size_t>(n));
        library = library.substr(0, library.rfind('/') + 1) + "kolvane.so";
        void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
        using Records = std::vector<std::string>* (*)();
        auto records =
            handle ? reinterpret_cast<Records>(::dlsym(handle, "RecordedDiagnostics")) : nullptr;
        return records ? records() : nullptr;
    }();
    if (!records) {
        return {"recording kolvane.so not found"};
    }
    std::vector<std::string> taken;
    taken.swap(*records);
    return taken;
}
