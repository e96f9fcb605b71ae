#include "Output.h"

#include "RawText.h"

#include <cstdio>

namespace {

void Write(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

} // namespace

void PrintServed(const std::string& text, bool raw) {
    if (raw) {
        Write(RawText(text));
    } else {
        Write(text);
        Write("\n");
    }
    std::fflush(stdout);
}

void PrintUpdate(const std::string& stamp, const std::string& item, const std::string& text,
                 bool raw) {
    Write(stamp);
    Write("\t");
    Write(item);
    Write(raw ? "\t" : "\n");
    Write(raw ? RawText(text) : text);
    Write("\n");
    // Updates are read as they come.
    std::fflush(stdout);
}

void PrintError(const std::string& message) {
    std::fprintf(stderr, "zanvo-dde: %s\n", message.c_str());
}
