// Runs one command of zanvo-dde; the result is the process's exit code (ExitCodes.h).
#pragma once

#include "Options.h"

int Run(const Options& options);
