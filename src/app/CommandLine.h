// What the process's command line asks for: the COM registration switches or a normal run.
#pragma once

#include <string_view>

enum class LaunchMode {
    Run,         // no switch: the tray program
    RegServer,   // write the registry entries and register the type library
    UnregServer, // remove them
    ServerOnly,  // "Embedding" or "Automation": started by COM, runs as the tray program
};

// Every "-" or "/" starts a token that runs to the end of the line; the first token equal to a
// switch (ignoring case) decides. A switch therefore counts only as the last thing on the line.
LaunchMode ScanCommandLine(std::string_view commandLine);
