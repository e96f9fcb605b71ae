// Win32: the hidden main window of the tray program. It owns the settings, the data supplier and
// the DDE server, shows the connection state in the notification area and carries the tray menu.
#pragma once

// The window's class name; tools find the running program's window by it.
constexpr char kMainWindowClass[] = "ZanvoMainApplication";

// Creates the main window (never shown). False when its creation was refused: the settings could
// not be loaded, the tray icon not added or the DDE server not started (a message box has said
// which); the window is gone again by then.
bool CreateMainApplicationWindow();
