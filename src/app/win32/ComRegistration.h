// Win32: the registry entries of the program's COM application identifier and the registration
// of its type library Zanvo2Lib (a resource of the program file).
#pragma once

#include <windows.h>

// Writes the application-identifier entries (their result is not checked), then registers the
// type library; returns the type-library registration's result.
HRESULT RegisterServer();
// Removes the entries, then unregisters the type library; returns the unregistration's result.
HRESULT UnregisterServer();
