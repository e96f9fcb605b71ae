// Win32: the watch command: advise loops on items until stopped; also request --wait, an advise
// loop on one item until its text is not empty.
#pragma once

#include "../Options.h"

// Returns the exit code.
int Watch(const Options& options);
