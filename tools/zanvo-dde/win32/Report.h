// Win32: the messages and exit codes of failed DDE steps, shared by the commands.
#pragma once

#include "../Options.h"
#include "DdeClient.h"

#include <string>

// Reports that no server accepted the conversation; returns ecNoServer.
int ReportNoServer(const Options& options);
// Reports a transaction that did not succeed; returns refusedCode for a refusal, else the code
// of a timeout or a failure. refusal names what was refused ("item").
int ReportFailure(Outcome outcome, const Options& options, const std::string& item, int refusedCode,
                  const char* refusal);
