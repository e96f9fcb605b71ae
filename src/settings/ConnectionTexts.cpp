#include "ConnectionTexts.h"

#include <algorithm>
#include <cctype>

namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return std::ranges::equal(a, b, {}, Lower, Lower);
}

} // namespace

bool ConnectionTextsDiffer(const ConnectionTexts& before, const ConnectionTexts& after) {
    return before.userName != after.userName || before.password != after.password ||
           !EqualIgnoringCase(before.quoteAddress, after.quoteAddress) ||
           !EqualIgnoringCase(before.historyAddress, after.historyAddress) ||
           !EqualIgnoringCase(before.domTickAddress, after.domTickAddress) ||
           !EqualIgnoringCase(before.intlTickAddress, after.intlTickAddress);
}
