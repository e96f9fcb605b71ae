// Win32: the watch command: advise loops on items until stopped.
#pragma once

#include "../Options.h"

// Returns the exit code.
int Watch(const Options& options);
