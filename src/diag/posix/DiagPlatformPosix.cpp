// POSIX side of the diagnostics layer, for the native build: the library is looked for beside
// the executable with ".so" for ".dll"; the ANSI code page is taken as Latin-1.
#include "../DiagPlatform.h"

#include <dlfcn.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <string>

namespace Kolvane::Platform {

namespace {
std::string ExecutableFolder() {
    char path[4096];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (n <= 0) {
        return {};
    }
    std::string full(path, static_cast<std::size_t>(n));
    return full.substr(0, full.rfind('/') + 1);
}
} // namespace

LibraryHandle LoadLibraryByName(const char16_t* fileName) {
    std::string name;
    for (const char16_t* c = fileName; *c; ++c) {
        name.push_back(static_cast<char>(*c));
    }
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".dll") == 0) {
        name.replace(name.size() - 4, 4, ".so");
    }
    const std::string path = ExecutableFolder() + name;
    return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* FindEntryPoint(LibraryHandle library, const char* name) {
    return ::dlsym(library, name);
}

void FreeLibraryHandle(LibraryHandle library) {
    ::dlclose(library);
}

std::u16string LoggingModuleFileName() {
    Dl_info info{};
    if (!::dladdr(reinterpret_cast<const void*>(&LoggingModuleFileName), &info) ||
        !info.dli_fname) {
        return {};
    }
    std::string full = info.dli_fname;
    const auto slash = full.rfind('/');
    std::string name = slash == std::string::npos ? full : full.substr(slash + 1);
    return std::u16string(name.begin(), name.end());
}

std::u16string AnsiToUtf16(const std::string& text) {
    std::u16string wide;
    wide.reserve(text.size());
    for (const char c : text) {
        wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    }
    return wide;
}

// The C runtime on POSIX has no invalid-parameter hook; pure virtual calls reach
// __cxa_pure_virtual (ModuleInit.cpp).
void InstallRuntimeHandlers() {}

void BreakIntoDebugger() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("TracerPid:", 0) == 0) {
            if (std::stoi(line.substr(10)) != 0) {
                std::raise(SIGTRAP);
            }
            return;
        }
    }
}

} // namespace Kolvane::Platform
