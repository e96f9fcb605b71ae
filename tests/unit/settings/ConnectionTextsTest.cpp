#include "ConnectionTexts.h"

#include <gtest/gtest.h>

#include <cctype>

namespace {

// Addresses are host names, so their letter case does not count; credentials are compared exactly.
TEST(ConnectionTexts, AddressesIgnoreLetterCaseAndCredentialsDoNot) {
    using S = ConnectionSettings;
    const S before{"jsmith",          "secret",      "quote.example",
                   "history.example", "dom.example", "intl.example"};
    EXPECT_FALSE(ConnectionTextsDiffer(before, before));
    for (std::string S::*text : {&S::userName, &S::password, &S::quoteAddress, &S::historyAddress,
                                 &S::domTickAddress, &S::intlTickAddress}) {
        const bool credential = text == &S::userName || text == &S::password;
        S after = before;
        for (char& c : after.*text)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(ConnectionTextsDiffer(before, after), credential) << after.*text;
        (after.*text)[0] = '#';
        EXPECT_TRUE(ConnectionTextsDiffer(before, after)) << after.*text;
    }
}

} // namespace
