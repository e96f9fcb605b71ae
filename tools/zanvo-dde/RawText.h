// Served text made visible on one line, so that exact text can be compared.
#pragma once

#include <string>

// Tab, line feed and carriage return as \t, \n and \r, a backslash as \\, any other control
// character as \xHH; everything else unchanged.
std::string RawText(const std::string& text);
