// The ini format as the settings store reads it. Built natively (the portable reader) and for
// Windows, where the same cases run against the private-profile functions, so the two are held to
// one behaviour.
#include "SettingsFiles.h"
#include "TempIniFolder.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(IniFiles, ReadsTextsAndIntegersAsThePrivateProfileFunctionsDo) {
    SettingsFiles& files = PlatformSettingsFiles();
    TempIniFolder folder;
    const std::string path =
        folder.Write("read.ini", "top=1\r\n[Connectivity]\r\n"
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
    EXPECT_EQ(files.ReadText(folder.Path("missing.ini"), "Connectivity", "UserName"), "");
    const std::pair<const char*, std::int32_t> integers[] = {
        {"seven", 7}, {"negative", -12}, {"plus", 5},  {"word", 0},
        {"empty", 2}, {"missing", 2},    {"split", 1},
    };
    for (const auto& [key, value] : integers) {
        EXPECT_EQ(files.ReadInteger(path, "date time", key, 2), value) << key;
    }
}

} // namespace
