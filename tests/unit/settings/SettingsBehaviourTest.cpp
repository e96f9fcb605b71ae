// How ApplicationSettings loads and saves its two ini files. Built natively (the portable ini
// reader) and for Windows, where it runs under Wine against the real private-profile functions.
#include "ApplicationSettings.h"
#include "TempIniFolder.h"

#include <gtest/gtest.h>

namespace {

class SettingsStore : public ::testing::Test {
protected:
    // Loads from two new files holding these texts.
    bool LoadFrom(const std::string& zanvoText, const std::string& tarvexText) {
        zanvo = folder.Write("Zanvo" + std::to_string(++files) + ".ini", zanvoText);
        tarvex = folder.Write("tarvex" + std::to_string(files) + ".ini", tarvexText);
        return settings.Load(zanvo, tarvex);
    }

    TempIniFolder folder;
    int files = 0;
    std::string zanvo;
    std::string tarvex;
    ApplicationSettings settings;
};

const std::string Tarvex = "[tarvex]\nInternetUserName=joe\nInternetPassword=secret\n"
                           "InternetAddress=tarvex.host\n";

TEST_F(SettingsStore, CredentialsFallBackToTarvexWhenMissingOrEmpty) {
    ASSERT_TRUE(LoadFrom("[Connectivity]\nPassword=\n", Tarvex));
    EXPECT_EQ(settings.userName, "joe");
    EXPECT_EQ(settings.password, "secret");

    ASSERT_TRUE(LoadFrom("[Connectivity]\nUsername=ann\nPassword=pw\n", Tarvex));
    EXPECT_EQ(settings.userName, "ann");
    EXPECT_EQ(settings.password, "pw");
}

TEST_F(SettingsStore, ServerAddressesFallBackToAddressThenInternetAddress) {
    ASSERT_TRUE(LoadFrom("[Connectivity]\nAddress=common.host\nHistory=history.host\n", Tarvex));
    EXPECT_EQ(settings.quoteAddress, "common.host");
    EXPECT_EQ(settings.historyAddress, "history.host");
    EXPECT_EQ(settings.domTickAddress, "common.host");
    EXPECT_EQ(settings.intlTickAddress, "common.host");

    ASSERT_TRUE(LoadFrom("[Connectivity]\nAddress=\nIntlTick=intl.host\n", Tarvex));
    EXPECT_EQ(settings.quoteAddress, "tarvex.host");
    EXPECT_EQ(settings.intlTickAddress, "intl.host");

    ASSERT_TRUE(LoadFrom("", "[tarvex]\nInternetUserName=joe\n"));
    EXPECT_EQ(settings.quoteAddress, "");
    EXPECT_EQ(settings.historyAddress, "");
}

TEST_F(SettingsStore, TimeZoneModeIsExchangeByDefaultAndKeepsAnyInteger) {
    settings.timeZoneMode = 0;
    ASSERT_TRUE(LoadFrom("[Date Time]\n", ""));
    EXPECT_EQ(settings.timeZoneMode, 2);
    settings.timeZoneMode = 0;
    ASSERT_TRUE(LoadFrom("[Date Time]\nTimezone=\n", ""));
    EXPECT_EQ(settings.timeZoneMode, 2);
    ASSERT_TRUE(LoadFrom("[Date Time]\nTimezone=7\n[Data]\nQuoteExchangeList=NYSE,AMEX\n", ""));
    EXPECT_EQ(settings.timeZoneMode, 7);
    EXPECT_EQ(settings.quoteExchangeList, "NYSE,AMEX");
}

TEST_F(SettingsStore, TextsKeepTheirFirst255Characters) {
    std::string long300;
    for (int i = 0; i < 300; ++i) {
        long300.push_back(static_cast<char>('a' + i % 26));
    }
    ASSERT_TRUE(LoadFrom("[Connectivity]\nUsername=" + long300 + "\n",
                         "[tarvex]\nInternetPassword=" + long300 + "\n"));
    EXPECT_EQ(settings.userName, long300.substr(0, 255));
    EXPECT_EQ(settings.password, long300.substr(0, 255));
}

TEST_F(SettingsStore, SaveWritesSevenKeysAndNeverTheCommonAddressOrExchangeList) {
    ASSERT_TRUE(
        LoadFrom("[Connectivity]\nAddress=common.host\n[Data]\nQuoteExchangeList=NYSE\n", Tarvex));
    settings.userName = "ann";
    settings.password = "pw";
    settings.quoteAddress = "q.host";
    settings.historyAddress = "h.host";
    settings.domTickAddress = "d.host";
    settings.intlTickAddress = "i.host";
    settings.timeZoneMode = -1;
    settings.quoteExchangeList = "CHANGED";
    ASSERT_TRUE(settings.Save(zanvo));

    const char* stored[][3] = {
        {"Connectivity", "Username", "ann"},   {"Connectivity", "Password", "pw"},
        {"Connectivity", "Quote", "q.host"},   {"Connectivity", "History", "h.host"},
        {"Connectivity", "DomTick", "d.host"}, {"Connectivity", "IntlTick", "i.host"},
        {"Date Time", "Timezone", "-1"},       {"Connectivity", "Address", "common.host"},
        {"Data", "QuoteExchangeList", "NYSE"},
    };
    for (const auto& [section, key, value] : stored) {
        EXPECT_EQ(PlatformSettingsFiles().ReadText(zanvo, section, key), value) << key;
    }
    EXPECT_EQ(folder.Read("tarvex1.ini"), Tarvex);
}

TEST_F(SettingsStore, AfterSaveAddressesAndCredentialsNoLongerFollowTheFallbacks) {
    ASSERT_TRUE(
        LoadFrom("[Connectivity]\nAddress=first.host\n", "[tarvex]\nInternetUserName=joe\n"));
    ASSERT_TRUE(settings.Save(zanvo));
    ASSERT_TRUE(PlatformSettingsFiles().WriteText(zanvo, "Connectivity", "Address", "second.host"));
    const std::string otherTarvex =
        folder.Write("other.ini", "[tarvex]\nInternetUserName=max\nInternetPassword=pw2\n");

    ASSERT_TRUE(settings.Load(zanvo, otherTarvex));
    EXPECT_EQ(settings.quoteAddress, "first.host");
    EXPECT_EQ(settings.intlTickAddress, "first.host");
    EXPECT_EQ(settings.userName, "joe");
    EXPECT_EQ(settings.password, "pw2"); // saved empty, so it still falls back
}

TEST_F(SettingsStore, LoadFailsWithoutEitherFileAndSucceedsOnEmptyFiles) {
    settings.userName = "kept";
    settings.timeZoneMode = 5;
    const std::string present = folder.Write("present.ini", "[Connectivity]\nUsername=new\n");
    EXPECT_FALSE(settings.Load(folder.Path("missing.ini"), present));
    EXPECT_FALSE(settings.Load(present, folder.Path("missing.ini")));
    EXPECT_EQ(settings.userName, "kept");
    EXPECT_EQ(settings.timeZoneMode, 5);

    ASSERT_TRUE(LoadFrom("", ""));
    EXPECT_EQ(settings.userName, "");
    EXPECT_EQ(settings.timeZoneMode, 2);
}

TEST_F(SettingsStore, SaveFailsWhenTheFileCannotBeWritten) {
    const std::string unwritable = folder.Path("no-such-folder") + "/Zanvo.ini";
    EXPECT_FALSE(settings.Save(unwritable));
    EXPECT_FALSE(PlatformSettingsFiles().FileExists(unwritable));
}

// Stands in for the platform's two folders.
class FixedFolders final : public SettingsFiles {
public:
    std::string programPath;
    std::string windowsFolder;

    std::string ProgramPath() override { return programPath; }
    std::string WindowsFolder() override { return windowsFolder; }
    char FolderSeparator() const override { return '\\'; }
    bool FileExists(const std::string&) override { return false; }
    std::string ReadText(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    std::int32_t ReadInteger(const std::string&, const std::string&, const std::string&,
                             std::int32_t defaultValue) override {
        return defaultValue;
    }
    bool WriteText(const std::string&, const std::string&, const std::string&,
                   const std::string&) override {
        return false;
    }
};

TEST(SettingsPaths, ZanvoIniBesideTheProgramAndTarvexIniInTheWindowsFolder) {
    FixedFolders folders;
    const ApplicationSettings settings(folders);
    folders.programPath = "C:\\Program Files\\Zanvo\\Zanvo.exe";
    folders.windowsFolder = "C:\\WINDOWS";
    EXPECT_EQ(settings.ZanvoIniPath(), "C:\\Program Files\\Zanvo\\Zanvo.ini");
    EXPECT_EQ(settings.TarvexIniPath(), "C:\\WINDOWS\\tarvex.ini");
    folders.programPath = "Zanvo.exe";
    folders.windowsFolder = "C:\\";
    EXPECT_EQ(settings.ZanvoIniPath(), "");
    EXPECT_EQ(settings.TarvexIniPath(), "C:\\tarvex.ini");
    folders.programPath = "";
    folders.windowsFolder = "";
    EXPECT_EQ(settings.ZanvoIniPath(), "");
    EXPECT_EQ(settings.TarvexIniPath(), "");
}

} // namespace
