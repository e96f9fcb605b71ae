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

TEST(ConnectionTexts, TravelBetweenTheSettingsRecordAndTheSupplierSettings) {
    ApplicationSettings record;
    record.userName = "ann";
    record.quoteAddress = "sim";
    record.timeZoneMode = 1;
    record.quoteExchangeList = "N,Q";
    const ConnectionSettings connection = ToConnectionSettings(record);
    EXPECT_EQ("ann", connection.userName);
    EXPECT_EQ("sim", connection.quoteAddress);
    EXPECT_EQ(1, connection.timeZoneMode);
    EXPECT_EQ("N,Q", connection.quoteExchanges);

    ConnectionSettings edited = Texts();
    edited.timeZoneMode = 0;
    SetConnectionTexts(record, edited);
    EXPECT_EQ("jsmith", record.userName);
    EXPECT_EQ("secret", record.password);
    EXPECT_EQ("intl.example.net", record.intlTickAddress);
    EXPECT_EQ(1, record.timeZoneMode) << "the mode is not a connection text";
    EXPECT_EQ("N,Q", record.quoteExchangeList);
}

} // namespace
