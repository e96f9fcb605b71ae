// What zanvo-dde writes: served text on stdout, exactly as served (or raw), messages on stderr.
#pragma once

#include <string>

// A requested text, followed by a line feed; raw, without one.
void PrintServed(const std::string& text, bool raw);
// One update of a watched item: "STAMP<tab>ITEM", then a line feed and the text with a line feed
// after it; raw, a tab and the raw text on the same line.
void PrintUpdate(const std::string& stamp, const std::string& item, const std::string& text,
                 bool raw);
// "zanvo-dde: MESSAGE" on stderr.
void PrintError(const std::string& message);
