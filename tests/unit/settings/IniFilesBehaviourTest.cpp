// The ini format as the settings store reads it. Built natively (the portable reader) and for
// Windows, where the same cases run against the private-profile functions, so the two are held to
// one behaviour.
#include "SettingsFiles.h"
#include "TempIniFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(IniFiles, ReadsTextsAndIntegersAsThePrivateProfileFunctionsDo) {
    SettingsFiles& files = PlatformSettingsFiles();
    TempIniFolder folder;
    const std::string path = folder.Write("read.ini", "top=1\r\n"
                                                      "[Connectivity]\r\n"
                                                      "  UserName  =  bob smith \t\r\n"
                                                      "double=\"quoted \"\r\n"
                                                      "single='x'\r\n"
                                                      "unmatched=\"x'\r\n"
                                                      "novalue\r\n"
                                                      "blank=   \r\n"
                                                      "eq=a=b\r\n"
                                                      "[ Date Time ]\n"
                                                      "seven=7\nnegative= -12x\nplus=+5\nword=abc\n"
                                                      "empty=\nsplit=1 2\n"
                                                      "[CONNECTIVITY]\r\n"
                                                      "second=ignored\r\n"
                                                      "[Data]\r\n"
                                                      "last=no line end");
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } texts[] = {
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
    for (const auto& c : texts) {
        EXPECT_EQ(files.ReadText(path, c.section, c.key), c.value) << c.section << " / " << c.key;
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
