// The builder of a snapshot item: one text, replaced as a whole on every update.
#pragma once

#include "TextBuilder.h"

#include <string>
#include <string_view>

class PlainTextBuilder final : public TextBuilder {
public:
    std::string GetText() override { return m_text; }
    void Clear() { m_text.clear(); }
    void Append(std::string_view text) { m_text.append(text); }

private:
    std::string m_text;
};
