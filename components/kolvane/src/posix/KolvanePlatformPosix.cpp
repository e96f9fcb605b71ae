// POSIX side of the diagnostics library, for the native build (kolvane.so).
#include "../KolvanePlatform.h"

#include <dlfcn.h>
#include <sys/syscall.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace Kolvane::Library::Platform {
namespace fs = std::filesystem;

std::string EnvironmentText(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

fs::path EnvironmentPath(const char* name) {
    return EnvironmentText(name);
}

fs::path DefaultLogFolder() {
    const fs::path home = EnvironmentPath("HOME");
    return home.empty() ? fs::path() : home / ".local" / "state" / "zanvo" / "logs";
}

fs::path ProgramFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe.parent_path();
}

fs::path LibraryFolder() {
    Dl_info info{};
    if (!::dladdr(reinterpret_cast<const void*>(&LibraryFolder), &info) || !info.dli_fname) {
        return {};
    }
    return fs::path(info.dli_fname).parent_path();
}

std::string LocalTimeText() {
    timeval now{};
    ::gettimeofday(&now, nullptr);
    std::tm local{};
    ::localtime_r(&now.tv_sec, &local);
    char text[64];
    std::snprintf(text, sizeof(text), "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(now.tv_usec / 1000));
    return text;
}

std::uint64_t CurrentThreadId() {
    return static_cast<std::uint64_t>(::syscall(SYS_gettid));
}

} // namespace Kolvane::Library::Platform
