// Letter case of item texts in the runtime's current locale, multi-byte aware. Bytes that do not
// form a character of the locale's code page are kept as they are and compare by value.
#pragma once

#include <string>
#include <string_view>

// The text with every character in upper case.
std::string ToUpperText(std::string_view text);

// Negative, zero or positive, comparing characters without regard to case.
int CompareTextNoCase(std::string_view left, std::string_view right);
