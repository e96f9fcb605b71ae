// Win32 side of the diagnostics library (kolvane.dll).
#include "../KolvanePlatform.h"

#include <windows.h>

#include <cstdio>

namespace Kolvane::Library::Platform {
namespace fs = std::filesystem;

namespace {

std::wstring EnvironmentWide(const wchar_t* name) {
    std::wstring value(256, L'\0');
    for (;;) {
        const DWORD n =
            ::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
        if (n == 0) {
            return {};
        }
        if (n < value.size()) {
            value.resize(n);
            return value;
        }
        value.resize(n);
    }
}

std::wstring Widened(const char* name) {
    return std::wstring(name, name + std::char_traits<char>::length(name));
}

fs::path ModuleFolder(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) {
            return {};
        }
        if (n < path.size()) {
            path.resize(n);
            return fs::path(path).parent_path();
        }
        path.resize(path.size() * 2);
    }
}

} // namespace

std::string EnvironmentText(const char* name) {
    const std::wstring wide = EnvironmentWide(Widened(name).c_str());
    if (wide.empty()) {
        return {};
    }
    const int size = static_cast<int>(wide.size());
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

fs::path EnvironmentPath(const char* name) {
    return EnvironmentWide(Widened(name).c_str());
}

fs::path DefaultLogFolder() {
    const fs::path base = EnvironmentPath("LOCALAPPDATA");
    return base.empty() ? fs::path() : base / L"Zanvo" / L"Logs";
}

fs::path ProgramFolder() {
    return ModuleFolder(nullptr);
}

fs::path LibraryFolder() {
    HMODULE self = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCWSTR>(&LibraryFolder), &self)) {
        return {};
    }
    return ModuleFolder(self);
}

std::string LocalTimeText() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    char text[64];
    std::snprintf(text, sizeof(text), "%04u-%02u-%02u %02u:%02u:%02u.%03u", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    return text;
}

std::uint64_t CurrentThreadId() {
    return ::GetCurrentThreadId();
}

} // namespace Kolvane::Library::Platform
