#include "ConnectionTexts.h"

#include <gtest/gtest.h>

namespace {

ConnectionSettings Texts() {
    ConnectionSettings texts;
    texts.userName = "jsmith";
    texts.password = "secret";
    texts.quoteAddress = "quote.example.net";
    texts.historyAddress = "history.example.net";
    texts.domTickAddress = "dom.example.net";
    texts.intlTickAddress = "intl.example.net";
    return texts;
}

// Addresses are host names, so their letter case does not count; credentials are compared exactly.
TEST(ConnectionTexts, AddressesIgnoreLetterCaseAndCredentialsDoNot) {
    EXPECT_FALSE(ConnectionTextsDiffer(Texts(), Texts()));
    for (std::string ConnectionSettings::*address :
         {&ConnectionSettings::quoteAddress, &ConnectionSettings::historyAddress,
          &ConnectionSettings::domTickAddress, &ConnectionSettings::intlTickAddress}) {
        ConnectionSettings after = Texts();
        for (char& c : after.*address)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_FALSE(ConnectionTextsDiffer(Texts(), after)) << after.*address;
        (after.*address)[0] = 'X';
        EXPECT_TRUE(ConnectionTextsDiffer(Texts(), after)) << after.*address;
        (after.*address).clear();
        EXPECT_TRUE(ConnectionTextsDiffer(Texts(), after)) << "emptied";
    }
    for (std::string ConnectionSettings::*credential :
         {&ConnectionSettings::userName, &ConnectionSettings::password}) {
        ConnectionSettings after = Texts();
        (after.*credential)[0] = static_cast<char>(std::toupper((after.*credential)[0]));
        EXPECT_TRUE(ConnectionTextsDiffer(Texts(), after)) << after.*credential;
    }
}

} // namespace
