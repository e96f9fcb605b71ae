// The scenario-file parser and the replay CSV reader of the data-manager library on any text.
// Every line either becomes part of the scenario or a problem report; nothing else may happen.
#include "ScenarioFile.h"
#include "ScenarioSyntax.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    {
        // Relative replay paths resolve into a folder that does not exist.
        std::istringstream in(text);
        mondrel::ParseScenario(in, "fuzz.scn", "/nonexistent/zanvo-fuzz");
    }
    {
        std::istringstream in(text);
        mondrel::Scenario scenario;
        mondrel::ReadReplay(in, "fuzz.csv", 0, 1.0, scenario);
    }
    return 0;
}
