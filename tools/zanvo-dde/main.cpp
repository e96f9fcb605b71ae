// zanvo-dde: a command-line DDE client. See docs/zanvo-dde.md.
#include "ExitCodes.h"
#include "Options.h"
#include "Output.h"
#include "Run.h"

#include <cstdio>

int main(int argc, char** argv) {
    std::string error;
    const std::optional<Options> options =
        ParseOptions(std::vector<std::string>(argv + 1, argv + argc), &error);
    if (!options) {
        PrintError(error);
        std::fputs(kUsage, stderr);
        return ecUsage;
    }
    return Run(*options);
}
