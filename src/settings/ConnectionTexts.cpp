#include "ConnectionTexts.h"

#include <cctype>

namespace {

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

} // namespace

bool ConnectionTextsDiffer(const ConnectionTexts& before, const ConnectionTexts& after) {
    return before.userName != after.userName || before.password != after.password ||
           !EqualIgnoringCase(before.quoteAddress, after.quoteAddress) ||
           !EqualIgnoringCase(before.historyAddress, after.historyAddress) ||
           !EqualIgnoringCase(before.domTickAddress, after.domTickAddress) ||
           !EqualIgnoringCase(before.intlTickAddress, after.intlTickAddress);
}
