// The six connection texts that the Connection page edits, and what counts as a change of them.
#pragma once

#include <string>

struct ConnectionTexts {
    std::string userName;
    std::string password;
    std::string quoteAddress;
    std::string historyAddress;
    std::string domTickAddress;
    std::string intlTickAddress;
};

// User name and password count exactly; server addresses are compared without regard to letter
// case, since host names do not depend on it.
bool ConnectionTextsDiffer(const ConnectionTexts& before, const ConnectionTexts& after);
