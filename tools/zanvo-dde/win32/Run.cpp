// Win32: the request and poke commands, and the choice of command.
#include "../Run.h"

#include "../ExitCodes.h"
#include "../Output.h"
#include "DdeClient.h"
#include "Report.h"
#include "Watch.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace {

int RequestOrPoke(const Options& options) {
    DdeClient client;
    if (!client.Initialized()) {
        PrintError("DDE could not be initialised");
        return ecDdeFailure;
    }
    const HCONV hconv = client.Connect(options.service, options.topic);
    if (!hconv) {
        return ReportNoServer(options);
    }
    const std::string& item = options.items.front();
    int code = ecOk;
    if (options.command == Command::request) {
        std::string text;
        const Outcome outcome = client.Request(hconv, item, options.timeoutMs, &text);
        if (outcome == Outcome::done) {
            PrintServed(text, options.raw);
        } else {
            code = ReportFailure(outcome, options, item, ecItemRefused, "item");
        }
    } else {
        const Outcome outcome = client.Poke(hconv, item, options.data, options.timeoutMs);
        if (outcome != Outcome::done) {
            code = ReportFailure(outcome, options, item, ecPokeRefused, "the poke of");
        }
    }
    client.Disconnect(hconv);
    return code;
}

} // namespace

int Run(const Options& options) {
    // Served text goes out byte for byte: no line feed becomes a carriage return and line feed.
    _setmode(_fileno(stdout), _O_BINARY);
    return options.command == Command::watch || options.waitMs ? Watch(options)
                                                               : RequestOrPoke(options);
}
