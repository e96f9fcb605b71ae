// What the diagnostics layer needs of the platform. Implemented once for Win32 (win32/) and once
// for POSIX (posix/), the latter for the native unit tests.
#pragma once

#include <string>

namespace Kolvane::Platform {

// An opaque handle of a loaded library; null when none.
using LibraryHandle = void*;

// Loads a library by file name through the platform's ordinary search ("kolvane.dll").
LibraryHandle LoadLibraryByName(const char16_t* fileName);
void* FindEntryPoint(LibraryHandle library, const char* name);
void FreeLibraryHandle(LibraryHandle library);

// File name (no folder) of the module that holds the diagnostics code; empty when unknown.
std::u16string LoggingModuleFileName();

// Narrow text in the system's ANSI code page, widened to UTF-16.
std::u16string AnsiToUtf16(const std::string& text);

// Installs the runtime's invalid-parameter handler, where the runtime has one. (Pure virtual
// calls reach __cxa_pure_virtual in ModuleInit.cpp.)
void InstallRuntimeHandlers();

// Stops at a breakpoint when a debugger is attached; does nothing otherwise.
void BreakIntoDebugger();

} // namespace Kolvane::Platform
