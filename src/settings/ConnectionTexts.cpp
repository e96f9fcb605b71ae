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

void CopyTexts(ConnectionSettings& to, const ConnectionSettings& from) {
    to.userName = from.userName;
    to.password = from.password;
    to.quoteAddress = from.quoteAddress;
    to.historyAddress = from.historyAddress;
    to.domTickAddress = from.domTickAddress;
    to.intlTickAddress = from.intlTickAddress;
}

} // namespace

ConnectionSettings ToConnectionSettings(const ApplicationSettings& settings) {
    return settings;
}

void SetConnectionTexts(ApplicationSettings& settings, const ConnectionSettings& texts) {
    CopyTexts(settings, texts);
}

bool ConnectionTextsDiffer(const ConnectionSettings& before, const ConnectionSettings& after) {
    return before.userName != after.userName || before.password != after.password ||
           !EqualIgnoringCase(before.quoteAddress, after.quoteAddress) ||
           !EqualIgnoringCase(before.historyAddress, after.historyAddress) ||
           !EqualIgnoringCase(before.domTickAddress, after.domTickAddress) ||
           !EqualIgnoringCase(before.intlTickAddress, after.intlTickAddress);
}
