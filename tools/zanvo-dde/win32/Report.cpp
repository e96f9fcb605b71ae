// Win32: the messages and exit codes of failed DDE steps.
#include "Report.h"

#include "../ExitCodes.h"
#include "../Output.h"

int ReportNoServer(const Options& options) {
    PrintError("no DDE server answers for service '" + options.service + "' and topic '" +
               options.topic + "'");
    return ecNoServer;
}

int ReportFailure(Outcome outcome, const Options& options, const std::string& item, int refusedCode,
                  const char* refusal) {
    switch (outcome) {
    case Outcome::refused:
        PrintError("the server refused " + std::string(refusal) + " '" + item + "' on topic '" +
                   options.topic + "'");
        return refusedCode;
    case Outcome::timeout:
        PrintError("no answer for '" + item + "' within " + std::to_string(options.timeoutMs) +
                   " ms");
        return ecTimeout;
    default:
        PrintError("the DDE transaction for '" + item + "' failed");
        return ecDdeFailure;
    }
}
