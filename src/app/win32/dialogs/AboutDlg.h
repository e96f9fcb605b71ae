// Win32: the About box, "About Zanvo": logo, the program's version line and the maker's notice.
#pragma once

#include <windows.h>

// Runs a new About box modally; it closes when cancelled or as soon as it loses activation.
void ShowAboutDialog(HWND owner);
