#include "ConnectionTexts.h"

#include <gtest/gtest.h>

namespace {

ConnectionTexts Texts() {
    return {"jsmith",          "secret",          "quote.example.net", "history.example.net",
            "dom.example.net", "intl.example.net"};
}

TEST(ConnectionTexts, SameTextsAreNoChange) {
    EXPECT_FALSE(ConnectionTextsDiffer(Texts(), Texts()));
}

TEST(ConnectionTexts, AddressesIgnoreLetterCase) {
    for (std::string ConnectionTexts::*address :
         {&ConnectionTexts::quoteAddress, &ConnectionTexts::historyAddress,
          &ConnectionTexts::domTickAddress, &ConnectionTexts::intlTickAddress}) {
        ConnectionTexts after = Texts();
        for (char& c : after.*address)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_FALSE(ConnectionTextsDiffer(Texts(), after)) << after.*address;
        (after.*address)[0] = 'X';
        EXPECT_TRUE(ConnectionTextsDiffer(Texts(), after)) << after.*address;
    }
}

TEST(ConnectionTexts, CredentialsCountLetterCase) {
    ConnectionTexts after = Texts();
    after.userName = "JSmith";
    EXPECT_TRUE(ConnectionTextsDiffer(Texts(), after));
    after = Texts();
    after.password = "Secret";
    EXPECT_TRUE(ConnectionTextsDiffer(Texts(), after));
}

TEST(ConnectionTexts, EmptyingAFieldIsAChange) {
    ConnectionTexts after = Texts();
    after.intlTickAddress.clear();
    EXPECT_TRUE(ConnectionTextsDiffer(Texts(), after));
}

} // namespace
