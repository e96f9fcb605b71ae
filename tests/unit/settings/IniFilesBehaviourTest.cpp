// The ini format as the settings store reads and writes it. Built natively (the portable reader
// and writer) and for Windows, where the same cases run against the private-profile functions,
// so the two are held to one behaviour.
#include "SettingsFiles.h"
#include "TempIniFolder.h"

#include <gtest/gtest.h>

namespace {

SettingsFiles& files = PlatformSettingsFiles();

TEST(IniFiles, ReadsValuesAsThePrivateProfileFunctionsDo) {
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
                                                      "[ Date Time ]\r\n"
                                                      "later=2\r\n"
                                                      "[CONNECTIVITY]\r\n"
                                                      "second=ignored\r\n"
                                                      "[Data]\r\n"
                                                      "last=no line end");
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {
        {"connectivity", "USERNAME", "bob smith"},
        {"Connectivity", "double", "quoted "},
        {"Connectivity", "single", "x"},
        {"Connectivity", "unmatched", "\"x'"},
        {"Connectivity", "novalue", ""},
        {"Connectivity", "blank", ""},
        {"Connectivity", "eq", "a=b"},
        {"Connectivity", "top", ""},
        {"Connectivity", "missing", ""},
        {"Date Time", "later", "2"},
        {"Connectivity", "second", ""}, // only the first section of a name counts
        {"Data", "last", "no line end"},
        {"Missing", "top", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(files.ReadText(path, c.section, c.key), c.value) << c.section << " / " << c.key;
    }
    EXPECT_EQ(files.ReadText(folder.Path("missing.ini"), "Connectivity", "UserName"), "");
}

TEST(IniFiles, ReadsIntegersAsGetPrivateProfileIntDoes) {
    TempIniFolder folder;
    const std::string path = folder.Write(
        "int.ini", "[Date Time]\nseven=7\nnegative= -12x\nplus=+5\nword=abc\nempty=\nsplit=1 2\n");
    const struct {
        const char* key;
        std::int32_t value;
    } cases[] = {{"seven", 7}, {"negative", -12}, {"plus", 5}, {"word", 0},
                 {"empty", 2}, {"missing", 2},    {"split", 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(files.ReadInteger(path, "date time", c.key, 2), c.value) << c.key;
    }
}

} // namespace
