// Win32 side of the diagnostics layer: LoadLibraryW, VirtualQuery/GetModuleFileNameW, the CRT's
// handler hooks and the debugger break.
#include "../DiagPlatform.h"
#include "../RuntimeHandlers.h"

#include <windows.h>

#include <cstdlib>
#include <stdlib.h>

namespace Kolvane::Platform {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wide strings");

LibraryHandle LoadLibraryByName(const char16_t* fileName) {
    return ::LoadLibraryW(reinterpret_cast<const wchar_t*>(fileName));
}

void* FindEntryPoint(LibraryHandle library, const char* name) {
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), name));
}

void FreeLibraryHandle(LibraryHandle library) {
    ::FreeLibrary(static_cast<HMODULE>(library));
}

std::u16string LoggingModuleFileName() {
    MEMORY_BASIC_INFORMATION info{};
    if (!::VirtualQuery(reinterpret_cast<const void*>(&LoggingModuleFileName), &info,
                        sizeof(info)) ||
        info.Type != MEM_IMAGE || !info.AllocationBase) {
        return {};
    }
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length =
        ::GetModuleFileNameW(static_cast<HMODULE>(info.AllocationBase), path, MAX_PATH);
    if (length == 0) {
        return {};
    }
    std::u16string full(reinterpret_cast<const char16_t*>(path), length);
    const auto slash = full.rfind(u'\\');
    return slash == std::u16string::npos ? full : full.substr(slash + 1);
}

std::u16string AnsiToUtf16(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::u16string wide(static_cast<std::size_t>(length), u'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, reinterpret_cast<wchar_t*>(wide.data()),
                          length);
    return wide;
}

namespace {
void __cdecl OnInvalidParameter(const wchar_t* expression, const wchar_t* function,
                                const wchar_t* file, unsigned int line, uintptr_t reserved) {
    Kolvane::InvalidParameterHandler(expression, function, file, line, reserved);
}
} // namespace

// mingw-w64 emulates _set_invalid_parameter_handler for its own functions; the functions that
// msvcrt.dll itself exports (strcpy_s, ...) call only the handler installed in msvcrt.dll, so
// the handler goes to both. Pure virtual calls reach __cxa_pure_virtual (ModuleInit.cpp), not
// the runtime's _purecall, under GCC.
void InstallRuntimeHandlers() {
    ::_set_invalid_parameter_handler(&OnInvalidParameter);
    using SetHandler = _invalid_parameter_handler(__cdecl*)(_invalid_parameter_handler);
    if (const HMODULE msvcrt = ::GetModuleHandleW(L"msvcrt.dll")) {
        const auto set = reinterpret_cast<SetHandler>(
            reinterpret_cast<void*>(::GetProcAddress(msvcrt, "_set_invalid_parameter_handler")));
        if (set) {
            set(&OnInvalidParameter);
        }
    }
}

void BreakIntoDebugger() {
    if (::IsDebuggerPresent()) {
        ::DebugBreak();
    }
}

} // namespace Kolvane::Platform
