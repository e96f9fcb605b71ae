// How ApplicationSettings loads and saves its two ini files. Built natively (the portable ini
// reader) and for Windows, where it runs under Wine against the real private-profile functions.
#include "ApplicationSettings.h"
#include "TempIniFolder.h"

#include <gtest/gtest.h>

namespace {

const std::string Tarvex = "[tarvex]\nInternetUserName=joe\nInternetPassword=secret\n"
                           "InternetAddress=tarvex.host\n";

// Every loaded value in one line, to compare whole outcomes.
std::string Loaded(const ApplicationSettings& s) {
    return s.userName + "|" + s.password + "|" + s.quoteAddress + "|" + s.historyAddress + "|" +
           s.domTickAddress + "|" + s.intlTickAddress + "|" + std::to_string(s.timeZoneMode) + "|" +
           s.quoteExchanges;
}

TEST(SettingsStore, LoadFallsBackToAddressThenTarvexAndKeeps255Characters) {
    const std::string long300 = std::string(200, 'a') + std::string(100, 'b');
    const struct {
        std::string zanvo, tarvex, loaded;
    } cases[] = {
        {"[Connectivity]\nPassword=\n", Tarvex,
         "joe|secret|tarvex.host|tarvex.host|tarvex.host|tarvex.host|2|"},
        {"[Connectivity]\nUsername=ann\nPassword=pw\nAddress=common.host\nHistory=h.host\n", Tarvex,
         "ann|pw|common.host|h.host|common.host|common.host|2|"},
        {"[Connectivity]\nAddress=\nIntlTick=intl.host\n", Tarvex,
         "joe|secret|tarvex.host|tarvex.host|tarvex.host|intl.host|2|"},
        {"", "[tarvex]\nInternetUserName=joe\n", "joe||||||2|"},
        {"[Date Time]\nTimezone=\n", "", "||||||2|"},
        {"[Date Time]\nTimezone=7\n[Data]\nQuoteExchangeList=NYSE,AMEX\n", "", "||||||7|NYSE,AMEX"},
        {"[Connectivity]\nUsername=" + long300 + "\n", "[tarvex]\nInternetPassword=" + long300,
         long300.substr(0, 255) + "|" + long300.substr(0, 255) + "|||||2|"},
    };
    TempIniFolder folder;
    for (const auto& c : cases) {
        ApplicationSettings settings;
        settings.timeZoneMode = 0;
        ASSERT_TRUE(settings.Load(folder.Write("Zanvo.ini", c.zanvo),
                                  folder.Write("tarvex.ini", c.tarvex)));
        EXPECT_EQ(Loaded(settings), c.loaded) << c.zanvo;
    }
    // Without either file nothing is loaded.
    ApplicationSettings kept;
    kept.userName = "kept";
    EXPECT_FALSE(kept.Load(folder.Path("missing.ini"), folder.Path("tarvex.ini")));
    EXPECT_FALSE(kept.Load(folder.Path("Zanvo.ini"), folder.Path("missing.ini")));
    EXPECT_EQ(kept.userName, "kept");
}

// Saved values stop following the fallbacks: a later load keeps them.
TEST(SettingsStore, SaveWritesSevenKeysAndNeverTheCommonAddressOrExchangeList) {
    TempIniFolder folder;
    const std::string zanvo = folder.Write(
        "Zanvo.ini", "[Connectivity]\nAddress=common.host\n[Data]\nQuoteExchangeList=NYSE\n");
    const std::string tarvex = folder.Write("tarvex.ini", Tarvex);
    ApplicationSettings settings;
    ASSERT_TRUE(settings.Load(zanvo, tarvex));
    settings.userName = "ann";
    settings.password = "";
    settings.historyAddress = "h.host";
    settings.timeZoneMode = -1;
    settings.quoteExchanges = "CHANGED";
    ASSERT_TRUE(settings.Save(zanvo));
    ASSERT_TRUE(PlatformSettingsFiles().WriteText(zanvo, "Connectivity", "Address", "new.host"));
    ASSERT_TRUE(settings.Load(zanvo, tarvex));
    // The empty password saved still falls back.
    EXPECT_EQ(Loaded(settings), "ann|secret|common.host|h.host|common.host|common.host|-1|NYSE");
    EXPECT_FALSE(settings.Save(folder.Path("no-such-folder") + "/Zanvo.ini"));
}

} // namespace
