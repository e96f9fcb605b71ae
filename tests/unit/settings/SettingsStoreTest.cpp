// How ApplicationSettings loads and saves its two ini files, and the ini format as it reads
// them. Built natively (the portable ini reader and writer) and for Windows, where the same cases
// run under Wine against the private-profile functions, so the two are held to one behaviour.
#include "ApplicationSettings.h"
#include "SettingsFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <tuple>

namespace {

// Each test's ini files go into a fresh folder under the temporary folder, removed afterwards.
// Paths come in the platform's own form (C:\... under Windows).
class SettingsStore : public testing::Test {
protected:
    SettingsStore() { std::filesystem::create_directories(m_folder); }
    ~SettingsStore() override {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    std::string Path(const std::string& name) const { return (m_folder / name).string(); }
    std::string Write(const std::string& name, const std::string& text) const {
        std::ofstream(m_folder / name, std::ios::binary) << text;
        return Path(name);
    }

private:
    const std::filesystem::path m_folder =
        std::filesystem::temp_directory_path() /
        ("zanvo-settings-" + std::to_string(std::random_device{}()));
};

const std::string Tarvex = "[tarvex]\nInternetUserName=joe\nInternetPassword=secret\n"
                           "InternetAddress=tarvex.host\n";

// Every loaded value in one line, to compare whole outcomes.
std::string Loaded(const ApplicationSettings& s) {
    return s.userName + "|" + s.password + "|" + s.quoteAddress + "|" + s.historyAddress + "|" +
           s.domTickAddress + "|" + s.intlTickAddress + "|" + std::to_string(s.timeZoneMode) + "|" +
           s.quoteExchanges;
}

TEST_F(SettingsStore, LoadFallsBackToAddressThenTarvexAndKeeps255Characters) {
    const std::string long300 = std::string(200, 'a') + std::string(100, 'b');
    // Zanvo.ini, tarvex.ini, what is loaded.
    const std::tuple<std::string, std::string, std::string> cases[] = {
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
    for (const auto& [zanvo, tarvex, loaded] : cases) {
        ApplicationSettings settings;
        settings.timeZoneMode = 0;
        ASSERT_TRUE(settings.Load(Write("Zanvo.ini", zanvo), Write("tarvex.ini", tarvex)));
        EXPECT_EQ(Loaded(settings), loaded) << zanvo;
    }
    // Without either file nothing is loaded.
    ApplicationSettings kept;
    kept.userName = "kept";
    EXPECT_FALSE(kept.Load(Path("missing.ini"), Path("tarvex.ini")));
    EXPECT_FALSE(kept.Load(Path("Zanvo.ini"), Path("missing.ini")));
    EXPECT_EQ(kept.userName, "kept");
}

// Saved values stop following the fallbacks: a later load keeps them.
TEST_F(SettingsStore, SaveWritesSevenKeysAndNeverTheCommonAddressOrExchangeList) {
    const std::string zanvo =
        Write("Zanvo.ini", "[Connectivity]\nAddress=common.host\n[Data]\nQuoteExchangeList=NYSE\n");
    const std::string tarvex = Write("tarvex.ini", Tarvex);
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
    EXPECT_FALSE(settings.Save(Path("no-such-folder") + "/Zanvo.ini"));
}

TEST_F(SettingsStore, IniFilesReadTextsAndIntegersAsThePrivateProfileFunctionsDo) {
    SettingsFiles& files = PlatformSettingsFiles();
    const std::string path =
        Write("read.ini", "top=1\r\n[Connectivity]\r\n"
                          "  UserName  =  bob smith \t\r\n"
                          "double=\"quoted \"\r\nsingle='x'\r\nunmatched=\"x'\r\n"
                          "novalue\r\nblank=   \r\neq=a=b\r\n"
                          "[ Date Time ]\nseven=7\nnegative= -12x\nplus=+5\nword=abc\n"
                          "empty=\nsplit=1 2\n"
                          "[CONNECTIVITY]\r\nsecond=ignored\r\n[Data]\r\nlast=no line end");
    // Section, key, the text read.
    const std::tuple<const char*, const char*, const char*> texts[] = {
        {"connectivity", "USERNAME", "bob smith"},
        {"Connectivity", "double", "quoted "},
        {"Connectivity", "single", "x"},
        {"Connectivity", "unmatched", "\"x'"},
        {"Connectivity", "novalue", ""},
        {"Connectivity", "blank", ""},
        {"Connectivity", "eq", "a=b"},
        {"Connectivity", "top", ""},
        {"Connectivity", "missing", ""},
        {"Date Time", "seven", "7"},
        {"Connectivity", "second", ""}, // only the first section of a name counts
        {"Data", "last", "no line end"},
        {"Missing", "top", ""},
    };
    for (const auto& [section, key, value] : texts) {
        EXPECT_EQ(files.ReadText(path, section, key), value) << section << " / " << key;
    }
    EXPECT_EQ(files.ReadText(Path("missing.ini"), "Connectivity", "UserName"), "");
    const std::pair<const char*, std::int32_t> integers[] = {
        {"seven", 7}, {"negative", -12}, {"plus", 5},  {"word", 0},
        {"empty", 2}, {"missing", 2},    {"split", 1},
    };
    for (const auto& [key, value] : integers) {
        EXPECT_EQ(files.ReadInteger(path, "date time", key, 2), value) << key;
    }
}

} // namespace
