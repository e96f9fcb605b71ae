// The text a DDE item serves. Every item owns one builder; the formatter writes into it and the
// server serves GetText.
#pragma once

#include <string>

class TextBuilder {
public:
    virtual std::string GetText() = 0;
    virtual ~TextBuilder() = default;
};
